#pragma once
// The command line for scripts: switches that create a note, show or hide the
// notes, open Find notes or export, handed to the running instance when there
// is one. A command line that starts with no switch keeps its old meaning: a
// text file to open as a note (CommandLine.h).
//
//   /new "text"          a new note with that text
//   /new-from-clipboard  a new note from the clipboard's text
//   /show, /hide, /toggle  the notes
//   /find "words"        Find notes, with the words in its search box
//   /export "path"       the text of every note into that file
//   /?                   the usage

#include <cstddef>
#include <string>
#include <vector>

enum class ScriptAction : wchar_t {
    None = 0,
    OpenFile = 1,  // not a switch: the whole command line, quotes removed, is a path
    NewNote = 2,
    NewNoteFromClipboard = 3,
    ShowNotes = 4,
    HideNotes = 5,
    ToggleNotes = 6,
    FindNotes = 7,
    ExportNotes = 8,
    Usage = 9,  // also for a switch that is not known or lacks its argument
};

struct ScriptCommand {
    ScriptAction action = ScriptAction::None;
    std::wstring argument;
};

// The arguments as the C runtime splits a Windows command line: blanks separate,
// double quotes group, 2n backslashes before a quote are n backslashes and the
// quote groups, 2n + 1 are n backslashes and a literal quote; other backslashes
// are themselves.
std::vector<std::wstring> SplitArguments(const std::wstring& commandLine);

// The switch (case-insensitive, also with '-' for '/') and its argument: the
// arguments after the switch joined by single spaces. A null or blank command
// line is None.
ScriptCommand ParseScriptCommand(const wchar_t* commandLine);

// The command with the paths it carries (the file of /export) made full
// against the folder the program was started in (FullPathFrom): the running
// instance that takes it over works in a folder of its own.
ScriptCommand WithFullPaths(ScriptCommand command, const std::wstring& startFolder);

// The longest argument a hand-over carries, in UTF-16 code units, as for a
// handed-over file path.
constexpr std::size_t kMaxScriptArgumentUnits = 32768;

// Hand-over bytes: the action as one code unit, the argument, a zero code unit;
// all UTF-16LE. Empty when the argument is too long to be handed over.
std::vector<unsigned char> EncodeScriptPayload(const ScriptCommand& command);

// Reads hand-over bytes from another process: at most byteCount bytes are read.
// False for an empty or odd-sized payload, one longer than the bound allows, an
// action that is not one of the switches, or a zero code unit before the end.
bool DecodeScriptPayload(const void* data, std::size_t byteCount, ScriptCommand& command);
