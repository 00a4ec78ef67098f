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

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TextCodec::Encoding encoding;
    const std::wstring text =
        TextCodec::Decode(std::string(reinterpret_cast<const char*>(data), size), &encoding);
    IniDocument doc(text, encoding);
    if (doc.Text() != text) abort();
    std::vector<std::wstring> sections = doc.SectionNames();
    sections.insert(sections.begin(), L"");
    std::vector<std::wstring> before;  // section, key, value, and so on
    for (const std::wstring& section : sections) {
        for (const std::wstring& key : doc.KeyNames(section)) {
            std::wstring value;
            if (!doc.Find(section, key, value)) abort();
            before.insert(before.end(), {section, key, value});
        }
    }

    const std::wstring value = L" \"v\u00e9\u4e2d\" ";
    doc.Set(L"Fuzz", L"Key", value);
    IniDocument reread(TextCodec::Decode(doc.Bytes()));
    std::wstring found;
    if (!reread.Find(L"Fuzz", L"Key", found) || found != value) abort();
    for (size_t i = 0; i < before.size(); i += 3) {
        if (IniNamesEqual(before[i], L"Fuzz") && IniNamesEqual(before[i + 1], L"Key")) continue;
        if (!reread.Find(before[i], before[i + 1], found) || found != before[i + 2]) abort();
    }
    return 0;
}
