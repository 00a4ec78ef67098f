#include "main/OldNotes.h"

#include <cstdint>

namespace OldNotes {

namespace {

constexpr int64_t kMaxSide = 32767;

int HexValue(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

// One optionally signed decimal integer after optional spaces; false when
// there is none or it does not fit 32 bits.
bool ReadInt(const std::wstring& text, size_t& at, int32_t& value) {
    while (at < text.size() && text[at] == L' ') ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == L'-' || text[at] == L'+')) negative = text[at++] == L'-';
    const size_t digitsStart = at;
    int64_t magnitude = 0;
    while (at < text.size() && text[at] >= L'0' && text[at] <= L'9') {
        magnitude = magnitude * 10 + (text[at++] - L'0');
        if (magnitude > int64_t{INT32_MAX} + 1) return false;
    }
    if (at == digitsStart) return false;
    const int64_t signedValue = negative ? -magnitude : magnitude;
    if (signedValue > INT32_MAX || signedValue < INT32_MIN) return false;
    value = static_cast<int32_t>(signedValue);
    while (at < text.size() && text[at] == L' ') ++at;
    return true;
}

}  // namespace

std::wstring DecodeText(const std::wstring& encoded) {
    std::wstring text;
    text.reserve(encoded.size());
    for (size_t i = 0; i < encoded.size(); ++i) {
        if (encoded[i] != L'%') {
            if (encoded[i] != L'\0') text += encoded[i];
            continue;
        }
        int code = 0;
        size_t digits = 0;
        while (digits < 2 && i + 1 + digits < encoded.size()) {
            const int digit = HexValue(encoded[i + 1 + digits]);
            if (digit < 0) break;
            code = code * 16 + digit;
            ++digits;
        }
        if (digits == 0) {
            text += L'%';
            continue;
        }
        if (code != 0) text += static_cast<wchar_t>(code);
        i += digits;
    }
    return text;
}

std::optional<Rect> ParseRect(const std::wstring& text) {
    int32_t values[4] = {};
    size_t at = 0;
    for (int i = 0; i < 4; ++i) {
        if (i > 0) {
            if (at >= text.size() || text[at] != L',') return std::nullopt;
            ++at;
        }
        if (!ReadInt(text, at, values[i])) return std::nullopt;
    }
    if (at != text.size()) return std::nullopt;
    const Rect rect{values[0], values[1], values[2], values[3]};
    // A note wider or higher than any screen is a damaged value, not a note.
    const int64_t width = int64_t{rect.right} - rect.left;
    const int64_t height = int64_t{rect.bottom} - rect.top;
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return std::nullopt;
    return rect;
}

OldNote Read(ValueStore& file) {
    OldNote note;
    std::wstring encoded;
    file.ReadString(L"/Default/Text", encoded);
    note.text = DecodeText(encoded);
    std::wstring rect;
    if (file.ReadString(L"/Default/Rect", rect)) note.rect = ParseRect(rect);
    return note;
}

bool OnAnyMonitor(const Rect& rect, const std::vector<Rect>& monitors) {
    for (const Rect& m : monitors) {
        if (rect.left < m.right && m.left < rect.right && rect.top < m.bottom &&
            m.top < rect.bottom) {
            return true;
        }
    }
    return false;
}

}  // namespace OldNotes
