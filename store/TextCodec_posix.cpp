// Without a system code page the 8-bit text is taken as Windows-1252, the code
// page of the western Windows installations the files usually come from.
#include "store/TextCodec.h"

#include <cstdint>

namespace {

// 0x80..0x9F of Windows-1252; 0 marks the five bytes the code page leaves undefined,
// which the system maps to the C1 control of the same value.
const uint16_t kHigh1252[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

}  // namespace

namespace TextCodec {

std::wstring FromAnsi(const std::string& bytes) {
    std::wstring out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        const uint8_t b = static_cast<uint8_t>(ch);
        if (b >= 0x80 && b < 0xA0 && kHigh1252[b - 0x80] != 0) {
            out += static_cast<wchar_t>(kHigh1252[b - 0x80]);
        } else {
            out += static_cast<wchar_t>(b);
        }
    }
    return out;
}

bool ToAnsi(const std::wstring& text, std::string& bytes) {
    std::string out;
    out.reserve(text.size());
    for (wchar_t ch : text) {
        const uint32_t c = static_cast<uint16_t>(ch);
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out += static_cast<char>(c);
            continue;
        }
        bool found = false;
        for (int i = 0; i < 32; ++i) {
            const uint16_t mapped =
                kHigh1252[i] != 0 ? kHigh1252[i] : static_cast<uint16_t>(0x80 + i);
            if (mapped == c) {
                out += static_cast<char>(0x80 + i);
                found = true;
                break;
            }
        }
        if (!found) return false;
    }
    bytes.swap(out);
    return true;
}

}  // namespace TextCodec
