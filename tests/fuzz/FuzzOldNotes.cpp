// The predecessor's note files are input from another program: any text must
// decode without reading past its end, never grow, and keep every character
// that is not part of a percent code; a rectangle that parses must be a real
// one and read back the same from its own written form.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "main/OldNotes.h"
#include "store/TextCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::wstring text =
        TextCodec::Decode(std::string(reinterpret_cast<const char*>(data), size));

    const std::wstring decoded = OldNotes::DecodeText(text);
    if (decoded.size() > text.size()) abort();
    std::wstring withoutNuls = text;
    withoutNuls.erase(std::remove(withoutNuls.begin(), withoutNuls.end(), L'\0'),
                      withoutNuls.end());
    if (text.find(L'%') == std::wstring::npos && decoded != withoutNuls) abort();
    if (decoded.find(L'\0') != std::wstring::npos) abort();

    if (const auto rect = OldNotes::ParseRect(text)) {
        if (rect->right <= rect->left || rect->bottom <= rect->top) abort();
        const std::wstring written =
            std::to_wstring(rect->left) + L"," + std::to_wstring(rect->top) + L"," +
            std::to_wstring(rect->right) + L"," + std::to_wstring(rect->bottom);
        const auto again = OldNotes::ParseRect(written);
        if (!again || *again != *rect) abort();
    }
    return 0;
}
