#pragma once
// The program's command line: one file path whose text becomes a new note, and
// the form in which a second start hands it to the instance that already runs.

#include <cstddef>
#include <deque>
#include <functional>
#include <string>
#include <vector>

// Removes every double quote and apostrophe wherever it stands; the rest is
// taken as one file path, nothing else is parsed. A null command line is empty.
std::wstring CleanCommandLine(const wchar_t* commandLine);

// The file named by the whole command line (as the system keeps it for the
// process: the program's name first) of the program at `programPath`, cleaned as
// above. The program's name is skipped as the start-up code skips it, to its
// closing quote or to the first blank, except that this program's own path
// written without quotes is skipped whole: Windows starts a program so when a
// Run value (of an older version) holds its path unquoted, and the rest of the
// path after the first blank is no file to open.
std::wstring FileFromCommandLine(const wchar_t* fullCommandLine, const std::wstring& programPath);

// A path of the command line made full against the folder the program was
// started in (a full path itself), as the system makes it for that folder: a
// path with its drive and root stays, one from the root ("\\x") takes the start
// folder's drive or share, one with a drive and no root ("D:x") goes under the
// start folder when it lies on that drive and under the drive's root otherwise,
// and any other goes under the start folder. "." and ".." steps are taken;
// '/' counts as '\\'. An empty path stays empty.
std::wstring FullPathFrom(const std::wstring& startFolder, const std::wstring& path);

// The hand-over bytes: the path as UTF-16LE code units followed by a zero code
// unit, (length + 1) * 2 bytes in all.
std::vector<unsigned char> EncodeHandOverPayload(const std::wstring& path);

// The longest path a hand-over may carry, in UTF-16 code units (the longest
// path Windows knows); the terminating zero comes on top.
inline constexpr std::size_t kMaxHandOverUnits = 32768;

// Reads a path from hand-over bytes sent by another process. Only the given
// number of bytes is read: the text ends at the first zero code unit or where
// the bytes end, whichever comes first; an odd last byte is ignored. More bytes
// than kMaxHandOverUnits and a terminator can hold are refused unread: the
// result is empty.
std::wstring DecodeHandOverPayload(const void* data, std::size_t byteCount);

// A path as a message shows it: at most kMessagePathUnits code units, a long one
// cut in the middle (start and file name kept, "\u2026" between them, never half
// a surrogate pair), and control characters, which would break the message's
// lines, shown as '?'.
inline constexpr std::size_t kMessagePathUnits = 260;
std::wstring PathForMessage(const std::wstring& path);

// Hand-overs waiting to be opened, one at a time: opening one can show a
// message box, whose message loop takes the next hand-overs in. Those wait here
// until the box is closed, instead of stacking boxes on top of it. At most
// kMaxPending wait; more sent meanwhile are dropped.
class HandOverQueue {
public:
    static constexpr std::size_t kMaxPending = 16;

    // False when the path was dropped: the queue was full.
    bool Push(std::wstring path);

    // Gives `open` each waiting path in turn, those pushed meanwhile included.
    // Called again while it runs (from inside `open`), it returns at once.
    void Drain(const std::function<void(const std::wstring&)>& open);

    std::size_t Pending() const { return pending_.size(); }

private:
    std::deque<std::wstring> pending_;
    bool draining_ = false;
};
