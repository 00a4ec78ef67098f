#pragma once
// A portable reader and writer of Windows initialisation (INI) files that answers
// as the platform's profile functions do, with two differences: a write replaces
// the file atomically, and no character is lost to the file's encoding.
//
// Reading accepts ANSI, UTF-8 (with or without a byte-order mark) and UTF-16LE
// with a byte-order mark. Writing keeps the file's encoding when it can hold the
// text and moves the file to UTF-16LE with a byte-order mark otherwise; new files
// are UTF-16LE with a byte-order mark. Every line that a write does not touch
// (comments, order, unknown sections and keys, line endings) is kept as it was.

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "store/TextCodec.h"

// The program's INI files hold a few kilobytes; one past this size is damaged or
// hostile, and reading it for every key would stall the program. It reads as a
// missing file, and is never rewritten.
inline constexpr size_t kMaxIniFileBytes = 1024 * 1024;

enum class IniFileHealth {
    Missing,     // no such file
    Text,        // an INI file as far as can be told
    TooLarge,    // past kMaxIniFileBytes
    NotText,     // binary data (see TextCodec::LooksLikeText)
    Unreadable,  // there, but could not be opened or read
};

// Judges a file from its size and its decoded text, reading no more than the cap.
IniFileHealth CheckIniFile(const std::wstring& file);

// Like GetPrivateProfileStringW with no default: false when the file, section or key
// is missing; an empty value is found and gives "".
bool IniReadString(const std::wstring& file, const std::wstring& section, const std::wstring& key,
                   std::wstring& value);

// Like GetPrivateProfileIntW: defaultValue when the key is missing, otherwise the
// value's leading sign and digits (decimal, or hexadecimal after "0x") as the
// platform parses them; text that is no number gives 0.
uint32_t IniReadInt(const std::wstring& file, const std::wstring& section, const std::wstring& key,
                    int32_t defaultValue);

// Like WritePrivateProfileStringW: creates the file and the section when missing and
// replaces the first matching key's value or appends the key to the section.
bool IniWriteString(const std::wstring& file, const std::wstring& section, const std::wstring& key,
                    const std::wstring& value);

// Whether a write of this section, key and value can be made at all: no part may
// hold a line break or NUL, and the key may neither hold '=' nor open with '['.
bool IniAcceptsEntry(const std::wstring& section, const std::wstring& key,
                     const std::wstring& value);

struct IniEntry {
    std::wstring section;
    std::wstring key;
    std::wstring value;
};

// Writes several values with one replacement of the file, in order (a later entry
// for the same key wins). False, with nothing written, when any entry is refused
// or the file cannot be replaced.
bool IniWriteStrings(const std::wstring& file, const std::vector<IniEntry>& entries);

// The integer that the profile functions make of a value's text.
uint32_t IniParseInt(const std::wstring& text);

// Section and key names compare without regard to letter case.
bool IniNamesEqual(const std::wstring& a, const std::wstring& b);

// One INI file held in memory as its lines, so that a change touches only the
// line it concerns. The sections and keys are indexed once when the text is
// taken in (and again after a line is added), so a look-up costs the same in a
// file of a million keys as in one of ten.
class IniDocument {
public:
    IniDocument() = default;

    // Takes decoded text. The line-ending style of the first line break is kept for
    // lines that are added later (CR LF when the text has none).
    explicit IniDocument(const std::wstring& text,
                         TextCodec::Encoding encoding = TextCodec::Encoding::Utf16LeBom);

    // Reads and decodes a file. False when it cannot be read; the document is then empty.
    bool Load(const std::wstring& file);

    // Encodes the document and replaces the file atomically.
    bool Save(const std::wstring& file) const;

    bool Find(const std::wstring& section, const std::wstring& key, std::wstring& value) const;
    bool HasSection(const std::wstring& section) const;
    void Set(const std::wstring& section, const std::wstring& key, const std::wstring& value);

    // The names of the sections, and of the keys of the first matching section, in file order.
    std::vector<std::wstring> SectionNames() const;
    std::vector<std::wstring> KeyNames(const std::wstring& section) const;

    std::wstring Text() const;

    // The bytes Save writes: the loaded encoding when it can hold the text,
    // otherwise UTF-16LE with a byte-order mark.
    std::string Bytes() const;

    TextCodec::Encoding Encoding() const { return encoding_; }

private:
    struct Line {
        std::wstring text;
        std::wstring ending;  // "\r\n", "\n", "\r" or "" for the last line
    };

    // The header line of the first section of this name; lines_.size() when none.
    size_t FindSectionLine(const std::wstring& section) const;
    bool FindKeyLine(const std::wstring& section, const std::wstring& key, size_t& index) const;
    void BuildIndex();

    std::vector<Line> lines_;
    // Names folded as IniNamesEqual compares them. A section's keys are filed
    // under its header line (kNoHeader for the keys before the first header);
    // only the first section of a name, and the first line of a key in it, are
    // filed, since those are the ones the profile reader finds.
    static constexpr size_t kNoHeader = static_cast<size_t>(-1);
    static std::wstring KeyIndexName(size_t header, const std::wstring& foldedKey);
    std::unordered_map<std::wstring, size_t> sectionIndex_;
    std::unordered_map<std::wstring, size_t> keyIndex_;
    std::wstring newline_ = L"\r\n";
    TextCodec::Encoding encoding_ = TextCodec::Encoding::Utf16LeBom;
};
