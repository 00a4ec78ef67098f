// Language texts are input: any text must survive the escape handling and serve
// as a format without a fault, and the results must keep their promises.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "lang/IniText.h"
#include "lang/SafeFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The input is UTF-16LE code units, as a language file's values are read.
    std::wstring text;
    for (size_t i = 0; i + 1 < size; i += 2) {
        text.push_back(static_cast<wchar_t>(data[i] | (data[i + 1] << 8)));
    }
    const size_t limit = size >= 2 ? (data[0] | (data[1] << 8)) % 4096 : 0;

    // Each escape takes two characters and leaves one control character; none is left.
    std::wstring escaped = text;
    ApplyEscapes(escaped, LanguageEscapes());
    const auto controls = [](const std::wstring& t) {
        return std::count_if(t.begin(), t.end(),
                             [](wchar_t c) { return c == 9 || c == 10 || c == 13; });
    };
    if (escaped.size() + (controls(escaped) - controls(text)) != text.size()) abort();
    for (const IniEscape& e : LanguageEscapes()) {
        if (escaped.find(e.pattern.data(), 0, e.pattern.size()) != std::wstring::npos) abort();
    }

    const std::wstring versioned = SafeFormat(text, {3, 2}, limit);
    const std::wstring titled = SafeFormat(text, {std::wstring(L"A title")}, limit);
    const std::wstring bare = SafeFormat(text, {}, limit);
    if (versioned.size() > limit || titled.size() > limit || bare.size() > limit) abort();
    if (SafeFormat(text, {3, 2}).size() > kFormatMaxLength) abort();

    // A text that asks for nothing reads the same whatever it is given.
    const std::wstring asks = FormatConversions(text);
    if (asks.find_first_of(L"ds") == std::wstring::npos && (versioned != bare || titled != bare)) {
        abort();
    }
    return 0;
}
