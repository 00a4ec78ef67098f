#include "store/TextCodec.h"

#include <cstdint>

namespace TextCodec {

namespace {

constexpr uint32_t kReplacement = 0xFFFD;

void AppendCodePoint(std::wstring& out, uint32_t c) {
    if (c >= 0x10000) {
        c -= 0x10000;
        out += static_cast<wchar_t>(0xD800 + (c >> 10));
        out += static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
    } else {
        out += static_cast<wchar_t>(c);
    }
}

// Decodes one UTF-8 sequence at bytes[i]; returns its length, or 0 when ill-formed.
size_t DecodeUtf8At(const std::string& bytes, size_t i, uint32_t& c) {
    const auto byte = [&](size_t k) { return static_cast<uint8_t>(bytes[k]); };
    const uint8_t lead = byte(i);
    size_t length;
    uint32_t minimum;
    if (lead < 0x80) {
        c = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, c = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, c = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, c = lead & 0x07, minimum = 0x10000;
    } else {
        return 0;
    }
    if (bytes.size() - i < length) return 0;
    for (size_t k = 1; k < length; ++k) {
        const uint8_t next = byte(i + k);
        if ((next & 0xC0) != 0x80) return 0;
        c = (c << 6) | (next & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
    return length;
}

bool HasPrefix(const std::string& bytes, const char* prefix, size_t n) {
    return bytes.size() >= n && bytes.compare(0, n, prefix, n) == 0;
}

}  // namespace

std::string ToUtf16Le(const std::wstring& text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (wchar_t ch : text) {
        const uint16_t unit = static_cast<uint16_t>(ch);
        out += static_cast<char>(unit & 0xFF);
        out += static_cast<char>(unit >> 8);
    }
    return out;
}

std::wstring FromUtf16Le(const char* data, size_t size) {
    std::wstring out;
    out.reserve(size / 2);
    for (size_t i = 0; i + 1 < size; i += 2) {
        const uint16_t unit = static_cast<uint16_t>(static_cast<uint8_t>(data[i]) |
                                                    (static_cast<uint8_t>(data[i + 1]) << 8));
        out += static_cast<wchar_t>(unit);
    }
    return out;
}

std::string ToUtf8(const std::wstring& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t c = static_cast<uint16_t>(text[i]);
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
            const uint32_t low = static_cast<uint16_t>(text[i + 1]);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            } else {
                c = kReplacement;
            }
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = kReplacement;
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::wstring FromUtf8(const std::string& bytes) {
    std::wstring out;
    out.reserve(bytes.size());
    size_t i = 0;
    while (i < bytes.size()) {
        uint32_t c = 0;
        const size_t length = DecodeUtf8At(bytes, i, c);
        if (length == 0) {
            AppendCodePoint(out, kReplacement);
            ++i;
        } else {
            AppendCodePoint(out, c);
            i += length;
        }
    }
    return out;
}

bool IsValidUtf8(const std::string& bytes) {
    size_t i = 0;
    while (i < bytes.size()) {
        uint32_t c = 0;
        const size_t length = DecodeUtf8At(bytes, i, c);
        if (length == 0) return false;
        i += length;
    }
    return true;
}

std::wstring Decode(const std::string& bytes, Encoding* detected) {
    Encoding encoding;
    std::wstring text;
    if (HasPrefix(bytes, "\xFF\xFE", 2)) {
        encoding = Encoding::Utf16LeBom;
        text = FromUtf16Le(bytes.data() + 2, bytes.size() - 2);
    } else if (HasPrefix(bytes, "\xEF\xBB\xBF", 3)) {
        encoding = Encoding::Utf8Bom;
        text = FromUtf8(bytes.substr(3));
    } else {
        bool ascii = true;
        for (char ch : bytes) {
            if (static_cast<uint8_t>(ch) >= 0x80) {
                ascii = false;
                break;
            }
        }
        if (!ascii && IsValidUtf8(bytes)) {
            encoding = Encoding::Utf8;
            text = FromUtf8(bytes);
        } else {
            encoding = Encoding::Ansi;
            text = FromAnsi(bytes);
        }
    }
    if (detected) *detected = encoding;
    return text;
}

bool Encode(const std::wstring& text, Encoding encoding, std::string& bytes) {
    bytes.clear();
    switch (encoding) {
        case Encoding::Ansi:
            return ToAnsi(text, bytes);
        case Encoding::Utf8:
            bytes = ToUtf8(text);
            return true;
        case Encoding::Utf8Bom:
            bytes = "\xEF\xBB\xBF" + ToUtf8(text);
            return true;
        case Encoding::Utf16LeBom:
            bytes = "\xFF\xFE" + ToUtf16Le(text);
            return true;
    }
    return false;
}

bool LooksLikeText(const std::wstring& text) {
    size_t controls = 0;
    for (wchar_t c : text) {
        if (c == 0) return false;
        if (c < 0x20 && c != L'\t' && c != L'\n' && c != L'\r' && c != L'\f' && c != L'\v' &&
            c != 0x1A && c != 0x1B) {
            ++controls;
        }
    }
    // A stray control character is forgiven; one in a hundred is binary data.
    return controls == 0 || controls * 100 < text.size();
}

}  // namespace TextCodec
