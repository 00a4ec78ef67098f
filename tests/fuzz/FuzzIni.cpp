// Any bytes must parse without a fault; an untouched document must give back its
// text unchanged; a value that is set must read back as itself, through the bytes
// that would be saved, while every other key keeps its value.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "store/IniFile.h"
#include "store/TextCodec.h"

namespace {

struct Entry {
    std::wstring section;
    std::wstring key;
    std::wstring value;
};

std::vector<Entry> Entries(const IniDocument& doc) {
    std::vector<Entry> entries;
    std::vector<std::wstring> sections = doc.SectionNames();
    sections.insert(sections.begin(), L"");
    for (const std::wstring& section : sections) {
        for (const std::wstring& key : doc.KeyNames(section)) {
            Entry e{section, key, L""};
            if (!doc.Find(section, key, e.value)) abort();
            entries.push_back(e);
        }
    }
    return entries;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    TextCodec::Encoding encoding;
    const std::wstring text = TextCodec::Decode(bytes, &encoding);
    IniDocument doc(text, encoding);
    if (doc.Text() != text) abort();
    const std::vector<Entry> before = Entries(doc);

    const std::wstring value = L" \"v\u00e9\u4e2d\" ";
    doc.Set(L"Fuzz", L"Key", value);
    IniDocument reread(TextCodec::Decode(doc.Bytes()));
    std::wstring found;
    if (!reread.Find(L"Fuzz", L"Key", found) || found != value) abort();
    for (const Entry& e : before) {
        if (IniNamesEqual(e.section, L"Fuzz") && IniNamesEqual(e.key, L"Key")) continue;
        std::wstring now;
        if (!reread.Find(e.section, e.key, now) || now != e.value) abort();
    }
    return 0;
}
