#include "store/IniFile.h"

#include "store/FileIo.h"

namespace {

// The characters the profile reader trims around names and values.
bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\v' || c == L'\f' || c == L'\r' || c == L'\n';
}

std::wstring Trim(const std::wstring& text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

bool IsQuote(wchar_t c) {
    return c == L'"' || c == L'\'';
}

// Simple upper-case mapping for the scripts that section and key names are written in.
wchar_t FoldCase(wchar_t c) {
    if (c >= L'a' && c <= L'z') return c - 32;
    if (c < 0x80) return c;
    if ((c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 32;  // Latin-1
    if (c == 0xFF) return 0x178;
    if (c >= 0x100 && c <= 0x17F && c != 0x130 && c != 0x131 && c != 0x138 && c != 0x149) {
        // Latin Extended-A pairs: even upper, odd lower, except the block 0x139-0x148
        // and 0x179-0x17E where the pairs start on an odd code point.
        const bool oddPairs = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        if (oddPairs ? (c % 2 == 0) : (c % 2 == 1)) return c - 1;
        return c;
    }
    if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return c - 32;  // Greek
    if (c >= 0x430 && c <= 0x44F) return c - 32;                // Cyrillic
    if (c >= 0x450 && c <= 0x45F) return c - 80;
    return c;
}

// A line is a section header when, trimmed, it starts with '[' and holds a ']';
// the name runs to the last ']', so "[a]b]" names "a]b" and "[a] ; note" names "a".
bool ParseHeader(const std::wstring& line, std::wstring& name) {
    const std::wstring trimmed = Trim(line);
    if (trimmed.empty() || trimmed[0] != L'[') return false;
    const size_t close = trimmed.rfind(L']');
    if (close == std::wstring::npos || close == 0) return false;
    name = Trim(trimmed.substr(1, close - 1));
    return true;
}

// A line that is no header and holds an '=' is a key line. Comment lines are no
// exception: the profile reader finds ";name=value" under the key ";name".
bool ParseKey(const std::wstring& line, std::wstring& key, std::wstring* value) {
    const size_t equals = line.find(L'=');
    if (equals == std::wstring::npos) return false;
    key = Trim(line.substr(0, equals));
    if (value) {
        std::wstring text = Trim(line.substr(equals + 1));
        // Matching quotes around the whole value are removed; they are how
        // a value keeps leading and trailing blanks.
        if (text.size() >= 2 && IsQuote(text[0]) && text.back() == text[0]) {
            text = text.substr(1, text.size() - 2);
        }
        *value = text;
    }
    return true;
}

bool IsKeyLine(const std::wstring& line) {
    std::wstring name;
    return !ParseHeader(line, name) && ParseKey(line, name, nullptr);
}

// What a value must look like in the file to read back as itself.
std::wstring QuoteIfNeeded(const std::wstring& value) {
    if (value.empty()) return value;
    const bool blankEdge = IsBlank(value.front()) || IsBlank(value.back());
    const bool quotedLook = value.size() >= 2 && IsQuote(value.front()) && value.back() == value[0];
    if (blankEdge || quotedLook) return L"\"" + value + L"\"";
    return value;
}

bool HasLineBreakOrNul(const std::wstring& text) {
    return text.find_first_of(std::wstring(L"\r\n\0", 3)) != std::wstring::npos;
}

// Turns a UTF-16 big-endian file into little-endian bytes that Decode recognises.
std::string SwapBigEndian(const std::string& bytes) {
    std::string out = bytes;
    for (size_t i = 0; i + 1 < out.size(); i += 2) std::swap(out[i], out[i + 1]);
    return out;
}

}  // namespace

namespace {

// The form in which two names compare equal exactly when IniNamesEqual says so.
std::wstring FoldName(const std::wstring& name) {
    std::wstring folded = Trim(name);
    for (wchar_t& c : folded) c = FoldCase(c);
    return folded;
}

}  // namespace

bool IniNamesEqual(const std::wstring& a, const std::wstring& b) {
    const std::wstring x = Trim(a);
    const std::wstring y = Trim(b);
    if (x.size() != y.size()) return false;
    for (size_t i = 0; i < x.size(); ++i) {
        if (FoldCase(x[i]) != FoldCase(y[i])) return false;
    }
    return true;
}

uint32_t IniParseInt(const std::wstring& value) {
    // The platform reads the value into a 30-character buffer before converting it,
    // and converts as RtlUnicodeStringToInteger with base 0 does: blanks, one sign,
    // then "0x", "0o" or "0b" (lower case only) choose the base, digits run until the
    // first that does not fit, and the result wraps modulo 2^32.
    const std::wstring text = value.substr(0, 29);
    size_t i = 0;
    while (i < text.size() && text[i] <= L' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
        negative = text[i] == L'-';
        ++i;
    }
    uint32_t base = 10;
    if (i + 1 < text.size() && text[i] == L'0') {
        if (text[i + 1] == L'x') base = 16;
        if (text[i + 1] == L'o') base = 8;
        if (text[i + 1] == L'b') base = 2;
        if (base != 10) i += 2;
    }
    uint32_t result = 0;
    for (; i < text.size(); ++i) {
        const wchar_t c = text[i];
        uint32_t digit;
        if (c >= L'0' && c <= L'9') {
            digit = c - L'0';
        } else if (c >= L'a' && c <= L'z') {
            digit = c - L'a' + 10;
        } else if (c >= L'A' && c <= L'Z') {
            digit = c - L'A' + 10;
        } else {
            break;
        }
        if (digit >= base) break;
        result = result * base + digit;
    }
    return negative ? 0u - result : result;
}

IniDocument::IniDocument(const std::wstring& text, TextCodec::Encoding encoding)
    : encoding_(encoding) {
    bool sawBreak = false;
    size_t start = 0;
    while (start < text.size()) {
        const size_t brk = text.find_first_of(L"\r\n", start);
        Line line;
        if (brk == std::wstring::npos) {
            line.text = text.substr(start);
            start = text.size();
        } else {
            line.text = text.substr(start, brk - start);
            const bool crlf = text[brk] == L'\r' && brk + 1 < text.size() && text[brk + 1] == L'\n';
            line.ending = crlf ? L"\r\n" : text.substr(brk, 1);
            start = brk + line.ending.size();
            if (!sawBreak) {
                newline_ = line.ending;
                sawBreak = true;
            }
        }
        lines_.push_back(std::move(line));
    }
    BuildIndex();
}

std::wstring IniDocument::KeyIndexName(size_t header, const std::wstring& foldedKey) {
    // The header's line number as four fixed code units, then the key: no two
    // pairs give the same name.
    std::wstring name(4, L'\0');
    for (size_t i = 0; i < 4; ++i) name[i] = static_cast<wchar_t>((header >> (16 * i)) & 0xFFFF);
    return name + foldedKey;
}

void IniDocument::BuildIndex() {
    sectionIndex_.clear();
    keyIndex_.clear();
    size_t header = kNoHeader;
    bool filing = true;  // keys of the unnamed section, then of first sections only
    std::wstring name;
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (ParseHeader(lines_[i].text, name)) {
            header = i;
            // An empty name is never asked for as a section: it means the unnamed one.
            const std::wstring folded = FoldName(name);
            filing = !folded.empty() && sectionIndex_.emplace(folded, i).second;
            continue;
        }
        if (filing && ParseKey(lines_[i].text, name, nullptr)) {
            keyIndex_.emplace(KeyIndexName(header, FoldName(name)), i);
        }
    }
}

namespace {

// Reads a file that is meant to be INI text, no more than the cap of it.
bool ReadIniBytes(const std::wstring& file, std::string& bytes, uint64_t& fileSize) {
    if (!FileIo::ReadFilePrefix(file, kMaxIniFileBytes, bytes, fileSize)) return false;
    // UTF-16 big-endian is read too, and written back as little-endian.
    if (bytes.size() >= 2 && bytes[0] == '\xFE' && bytes[1] == '\xFF') {
        bytes = SwapBigEndian(bytes);
    }
    return true;
}

}  // namespace

IniFileHealth CheckIniFile(const std::wstring& file) {
    std::string bytes;
    uint64_t fileSize = 0;
    if (!ReadIniBytes(file, bytes, fileSize)) {
        return FileIo::FileExists(file) ? IniFileHealth::Unreadable : IniFileHealth::Missing;
    }
    if (fileSize > kMaxIniFileBytes) return IniFileHealth::TooLarge;
    return TextCodec::LooksLikeText(TextCodec::Decode(bytes)) ? IniFileHealth::Text
                                                              : IniFileHealth::NotText;
}

bool IniDocument::Load(const std::wstring& file) {
    *this = IniDocument();
    std::string bytes;
    uint64_t fileSize = 0;
    if (!ReadIniBytes(file, bytes, fileSize) || fileSize > kMaxIniFileBytes) return false;
    TextCodec::Encoding encoding = TextCodec::Encoding::Ansi;
    const std::wstring text = TextCodec::Decode(bytes, &encoding);
    *this = IniDocument(text, encoding);
    return true;
}

std::wstring IniDocument::Text() const {
    std::wstring text;
    for (const Line& line : lines_) text += line.text + line.ending;
    return text;
}

std::string IniDocument::Bytes() const {
    const std::wstring text = Text();
    std::string bytes;
    // Keep the file's encoding only when the bytes decode back to the very same
    // text: ANSI cannot hold every character, and ANSI bytes that happen to form
    // UTF-8 would be read back as UTF-8.
    if (TextCodec::Encode(text, encoding_, bytes)) {
        TextCodec::Encoding detected;
        if (TextCodec::Decode(bytes, &detected) == text) return bytes;
    }
    TextCodec::Encode(text, TextCodec::Encoding::Utf16LeBom, bytes);
    return bytes;
}

bool IniDocument::Save(const std::wstring& file) const {
    return FileIo::WriteFileAtomically(file, Bytes());
}

size_t IniDocument::FindSectionLine(const std::wstring& section) const {
    const auto found = sectionIndex_.find(FoldName(section));
    return found == sectionIndex_.end() ? lines_.size() : found->second;
}

// Only the first section of a name is searched, as the profile reader does: a
// key that lies in a later section of the same name is not found.
bool IniDocument::FindKeyLine(const std::wstring& section, const std::wstring& key,
                              size_t& index) const {
    size_t header = kNoHeader;
    if (!Trim(section).empty()) {
        header = FindSectionLine(section);
        if (header == lines_.size()) return false;
    }
    const auto found = keyIndex_.find(KeyIndexName(header, FoldName(key)));
    if (found == keyIndex_.end()) return false;
    index = found->second;
    return true;
}

bool IniDocument::HasSection(const std::wstring& section) const {
    return Trim(section).empty() || FindSectionLine(section) != lines_.size();
}

bool IniDocument::Find(const std::wstring& section, const std::wstring& key,
                       std::wstring& value) const {
    size_t index;
    if (!FindKeyLine(section, key, index)) return false;
    std::wstring name;
    return ParseKey(lines_[index].text, name, &value);
}

void IniDocument::Set(const std::wstring& section, const std::wstring& key,
                      const std::wstring& value) {
    const std::wstring text = QuoteIfNeeded(value);
    size_t index;
    if (FindKeyLine(section, key, index)) {
        // Keep the key as the file spells it, and any indentation before it.
        const std::wstring& old = lines_[index].text;
        const size_t equals = old.find(L'=');
        size_t keyEnd = equals;
        while (keyEnd > 0 && IsBlank(old[keyEnd - 1])) --keyEnd;
        lines_[index].text = old.substr(0, keyEnd) + L"=" + text;
        return;
    }

    const std::wstring keyLine = Trim(key) + L"=" + text;
    std::wstring name;
    size_t insertAt;
    if (Trim(section).empty()) {
        // Keys of the unnamed section go before the first header.
        insertAt = 0;
        for (size_t i = 0; i < lines_.size() && !ParseHeader(lines_[i].text, name); ++i) {
            if (IsKeyLine(lines_[i].text)) insertAt = i + 1;
        }
    } else {
        const size_t header = FindSectionLine(section);
        if (header == lines_.size()) {
            // A new section goes at the end of the file, which keeps ending
            // without a line break if it did.
            std::wstring lastEnding = newline_;
            if (!lines_.empty() && lines_.back().ending.empty()) {
                lines_.back().ending = newline_;
                lastEnding.clear();
            }
            lines_.push_back({L"[" + Trim(section) + L"]", newline_});
            lines_.push_back({keyLine, lastEnding});
            BuildIndex();
            return;
        }
        // After the section's last key, so that blank lines and comments that
        // lead into the next section stay with it.
        insertAt = header + 1;
        for (size_t i = header + 1; i < lines_.size() && !ParseHeader(lines_[i].text, name); ++i) {
            if (IsKeyLine(lines_[i].text)) insertAt = i + 1;
        }
    }
    Line line{keyLine, newline_};
    if (insertAt == lines_.size() && !lines_.empty() && lines_.back().ending.empty()) {
        // The file ended without a line break: the new last line does the same.
        lines_.back().ending = newline_;
        line.ending.clear();
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), line);
    BuildIndex();
}

std::vector<std::wstring> IniDocument::SectionNames() const {
    std::vector<std::wstring> names;
    std::wstring name;
    for (const Line& line : lines_) {
        if (ParseHeader(line.text, name)) names.push_back(name);
    }
    return names;
}

std::vector<std::wstring> IniDocument::KeyNames(const std::wstring& section) const {
    std::vector<std::wstring> names;
    size_t i = 0;
    if (!Trim(section).empty()) {
        i = FindSectionLine(section);
        if (i == lines_.size()) return names;
        ++i;
    }
    std::wstring name;
    for (; i < lines_.size() && !ParseHeader(lines_[i].text, name); ++i) {
        if (ParseKey(lines_[i].text, name, nullptr)) names.push_back(name);
    }
    return names;
}

bool IniReadString(const std::wstring& file, const std::wstring& section, const std::wstring& key,
                   std::wstring& value) {
    IniDocument doc;
    return doc.Load(file) && doc.Find(section, key, value);
}

uint32_t IniReadInt(const std::wstring& file, const std::wstring& section, const std::wstring& key,
                    int32_t defaultValue) {
    std::wstring text;
    if (!IniReadString(file, section, key, text)) return static_cast<uint32_t>(defaultValue);
    // An empty value is a found key and reads as 0 (Wine gives the default here;
    // Windows gives 0).
    return IniParseInt(text);
}

bool IniAcceptsEntry(const std::wstring& section, const std::wstring& key,
                     const std::wstring& value) {
    // A line break in any part would split the line and could forge other keys or
    // sections; a key holding '=' or opening with '[' would read back as another key.
    if (HasLineBreakOrNul(section) || HasLineBreakOrNul(key) || HasLineBreakOrNul(value)) {
        return false;
    }
    const std::wstring trimmedKey = Trim(key);
    if (trimmedKey.find(L'=') != std::wstring::npos) return false;
    return trimmedKey.empty() || trimmedKey[0] != L'[';
}

bool IniWriteStrings(const std::wstring& file, const std::vector<IniEntry>& entries) {
    for (const IniEntry& e : entries) {
        if (!IniAcceptsEntry(e.section, e.key, e.value)) return false;
    }
    IniDocument doc;
    // An existing file that cannot be read is left alone rather than replaced.
    if (!doc.Load(file) && FileIo::FileExists(file)) return false;
    for (const IniEntry& e : entries) doc.Set(e.section, e.key, e.value);
    return doc.Save(file);
}

bool IniWriteString(const std::wstring& file, const std::wstring& section, const std::wstring& key,
                    const std::wstring& value) {
    return IniWriteStrings(file, {IniEntry{section, key, value}});
}
