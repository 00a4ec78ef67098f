// Language texts are input: any text must survive the escape handling and serve
// as a format without a fault, and the results must keep their promises.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "lang/IniText.h"
#include "lang/SafeFormat.h"

namespace {

size_t Count(const std::wstring& text, wchar_t c) {
    size_t n = 0;
    for (wchar_t t : text) n += t == c;
    return n;
}

bool HasEscapeLeft(const std::wstring& text) {
    for (const IniEscape& e : LanguageEscapes()) {
        if (text.find(e.pattern.data(), 0, e.pattern.size()) != std::wstring::npos) return true;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The input is UTF-16LE code units, as a language file's values are read.
    std::wstring text;
    for (size_t i = 0; i + 1 < size; i += 2) {
        text.push_back(static_cast<wchar_t>(data[i] | (data[i + 1] << 8)));
    }
    const size_t limit = size >= 2 ? (data[0] | (data[1] << 8)) % 4096 : 0;

    // Each escape takes two characters and leaves one, and none survives.
    std::wstring escaped = text;
    ApplyEscapes(escaped, LanguageEscapes());
    const size_t made = Count(escaped, L'\t') + Count(escaped, L'\r') + Count(escaped, L'\n') -
                        Count(text, L'\t') - Count(text, L'\r') - Count(text, L'\n');
    if (escaped.size() + made != text.size()) abort();
    if (HasEscapeLeft(escaped)) abort();

    const std::wstring versioned = SafeFormat(text, {3, 2}, limit);
    const std::wstring titled = SafeFormat(text, {std::wstring(L"A note's title")}, limit);
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
