#include "store/RecycleBinEntries.h"

#include "store/FileIo.h"
#include "store/RecycleBin.h"
#include "store/TextCodec.h"

namespace RecycleBin {
namespace {

enum class BinEncoding { Utf16Le, Utf8 };

// How the file's text is encoded and where it starts. The program writes
// UTF-16LE without a mark; editors add one or turn the file into UTF-8. UTF-16
// text of the bin always holds zero bytes (the separator's upper halves), UTF-8
// text never does.
BinEncoding EncodingOf(const std::string& bytes, size_t& start) {
    start = 0;
    if (bytes.compare(0, 2, "\xFF\xFE") == 0) {
        start = 2;
        return BinEncoding::Utf16Le;
    }
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        start = 3;
        return BinEncoding::Utf8;
    }
    if (bytes.empty() || bytes.find('\0') != std::string::npos) return BinEncoding::Utf16Le;
    // A UTF-8 file cut short may end inside a character.
    for (size_t cut = 0; cut < 4 && cut < bytes.size(); ++cut) {
        if (TextCodec::IsValidUtf8(bytes.substr(0, bytes.size() - cut))) return BinEncoding::Utf8;
    }
    return BinEncoding::Utf16Le;
}

std::wstring DecodeRange(const std::string& bytes, size_t begin, size_t end, BinEncoding e,
                         bool cutShort) {
    if (e == BinEncoding::Utf8 && cutShort) {
        // A character the cut went through is left out rather than shown as U+FFFD.
        size_t lead = end;
        while (lead > begin && end - lead < 4 && (bytes[lead - 1] & 0xC0) == 0x80) --lead;
        if (lead > begin) {
            const auto first = static_cast<unsigned char>(bytes[lead - 1]);
            const size_t need = first >= 0xF0 ? 4 : first >= 0xE0 ? 3 : first >= 0xC0 ? 2 : 1;
            if (need > end - lead + 1) end = lead - 1;
        }
    }
    if (e == BinEncoding::Utf8) return TextCodec::FromUtf8(bytes.substr(begin, end - begin));
    return TextCodec::FromUtf16Le(bytes.data() + begin, end - begin);
}

// A cut-short entry may end inside its separator: CR LF and at least one equals
// sign (fewer could be the text's own line break).
void DropSeparatorStart(std::wstring& text) {
    const std::wstring& separator = Separator();
    for (size_t n = separator.size() - 1; n >= 3; --n) {
        if (text.size() >= n && text.compare(text.size() - n, n, separator, 0, n) == 0) {
            text.resize(text.size() - n);
            return;
        }
    }
}

}  // namespace

std::vector<BinEntry> ParseBinEntries(const std::string& bytes) {
    size_t start = 0;
    const BinEncoding encoding = EncodingOf(bytes, start);
    const std::string separator = encoding == BinEncoding::Utf8 ? TextCodec::ToUtf8(Separator())
                                                                : TextCodec::ToUtf16Le(Separator());
    const size_t unit = encoding == BinEncoding::Utf8 ? 1 : 2;
    std::vector<BinEntry> entries;
    const auto add = [&](size_t begin, size_t textEnd, size_t end, bool cutShort) {
        BinEntry entry;
        entry.begin = begin;
        entry.end = end;
        entry.cutShort = cutShort;
        entry.text = DecodeRange(bytes, begin, textEnd, encoding, cutShort);
        if (cutShort) DropSeparatorStart(entry.text);
        if (HasVisibleText(entry.text)) entries.push_back(std::move(entry));
    };
    // Every place the separator's bytes start at a code unit's start, overlapping
    // ones included: a line of equals signs next to a separator makes a chain.
    std::vector<size_t> found;
    for (size_t at = bytes.find(separator, start); at != std::string::npos;
         at = bytes.find(separator, at + 1)) {
        if ((at - start) % unit == 0) found.push_back(at);
    }
    // Taken from the end of the file, where the program's last append ended with
    // a separator: of a chain, the last one is a separator and the one before it
    // the end of a text's line of equals signs.
    std::vector<size_t> separators;
    size_t limit = bytes.size();
    for (auto it = found.rbegin(); it != found.rend(); ++it) {
        if (*it + separator.size() <= limit) {
            separators.push_back(*it);
            limit = *it;
        }
    }
    size_t begin = start;
    for (auto it = separators.rbegin(); it != separators.rend(); ++it) {
        add(begin, *it, *it + separator.size(), false);
        begin = *it + separator.size();
    }
    if (begin < bytes.size()) add(begin, bytes.size(), bytes.size(), true);
    return entries;
}

std::vector<BinEntry> ReadBinEntries(const std::wstring& path) {
    std::string bytes;
    if (!FileIo::ReadFile(path, bytes)) return {};
    return ParseBinEntries(bytes);
}

bool RemoveBinEntry(const std::wstring& path, const BinEntry& entry) {
    std::string bytes;
    if (!FileIo::ReadFile(path, bytes)) return false;
    bool found = false;
    for (const BinEntry& e : ParseBinEntries(bytes)) {
        if (e.begin == entry.begin && e.end == entry.end && e.text == entry.text) found = true;
    }
    if (!found) return false;
    bytes.erase(entry.begin, entry.end - entry.begin);
    return FileIo::WriteFileAtomically(path, bytes);
}

std::wstring FirstVisibleLine(const std::wstring& text, size_t maxUnits) {
    const auto blank = [](wchar_t c) { return static_cast<unsigned>(c) <= 32; };
    size_t lineStart = 0;
    while (lineStart < text.size()) {
        size_t lineEnd = text.find_first_of(L"\r\n", lineStart);
        if (lineEnd == std::wstring::npos) lineEnd = text.size();
        size_t b = lineStart, e = lineEnd;
        while (b < e && blank(text[b])) ++b;
        while (e > b && blank(text[e - 1])) --e;
        if (b < e) {
            std::wstring line = text.substr(b, e - b);
            if (line.size() <= maxUnits) return line;
            size_t cut = maxUnits;
            if (cut > 0 && line[cut - 1] >= 0xD800 && line[cut - 1] <= 0xDBFF) --cut;
            return line.substr(0, cut) + L"...";
        }
        lineStart = lineEnd + 1;
    }
    return std::wstring();
}

size_t CountCharacters(const std::wstring& text) {
    size_t count = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const bool pair = text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size() &&
                          text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
        if (pair) ++i;
        ++count;
    }
    return count;
}

}  // namespace RecycleBin
