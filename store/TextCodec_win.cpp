#include "store/TextCodec.h"

#include <windows.h>

namespace TextCodec {

std::wstring FromAnsi(const std::string& bytes) {
    if (bytes.empty()) return std::wstring();
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
    if (length <= 0) return std::wstring();
    std::wstring text(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, &text[0], length);
    return text;
}

bool ToAnsi(const std::wstring& text, std::string& bytes) {
    bytes.clear();
    if (text.empty()) return true;
    const int size = static_cast<int>(text.size());
    BOOL lossy = FALSE;
    // WC_NO_BEST_FIT_CHARS: a character without an exact form must be reported,
    // not quietly replaced by a look-alike.
    const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), size, nullptr,
                                           0, nullptr, &lossy);
    if (length <= 0 || lossy) return false;
    std::string out(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), size, &out[0], length, nullptr,
                        &lossy);
    if (lossy) return false;
    // A round trip catches code pages where a character maps without the flag being set.
    if (FromAnsi(out) != text) return false;
    bytes.swap(out);
    return true;
}

}  // namespace TextCodec
