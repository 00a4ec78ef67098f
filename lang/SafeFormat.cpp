#include "lang/SafeFormat.h"

#include <algorithm>

namespace {

struct Conversion {
    bool leftAlign = false;
    bool plusSign = false;
    bool spaceSign = false;
    bool zeroPad = false;
    size_t width = 0;
    bool hasPrecision = false;
    size_t precision = 0;
    wchar_t kind = 0;  // 'd', 's', or 0 for a sequence that is copied as written
    size_t end = 0;    // index after the sequence
};

bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

// Reads decimal digits, saturating at limit so that "%99999999999d" cannot overflow.
size_t ReadNumber(std::wstring_view format, size_t& i, size_t limit) {
    size_t n = 0;
    while (i < format.size() && IsDigit(format[i])) {
        n = std::min(limit, n * 10 + static_cast<size_t>(format[i] - L'0'));
        ++i;
    }
    return n;
}

// Parses the sequence starting at format[start] == '%'. "%%" is not handled here.
Conversion Parse(std::wstring_view format, size_t start, size_t limit) {
    Conversion c;
    size_t i = start + 1;
    for (; i < format.size(); ++i) {
        wchar_t f = format[i];
        if (f == L'-') {
            c.leftAlign = true;
        } else if (f == L'+') {
            c.plusSign = true;
        } else if (f == L' ') {
            c.spaceSign = true;
        } else if (f == L'0') {
            c.zeroPad = true;
        } else if (f != L'#') {
            break;
        }
    }
    c.width = ReadNumber(format, i, limit);
    if (i < format.size() && format[i] == L'.') {
        ++i;
        c.hasPrecision = true;
        c.precision = ReadNumber(format, i, limit);
    }
    if (i < format.size() && format[i] == L'l') ++i;
    if (i < format.size()) {
        wchar_t k = format[i];
        if (k == L'd' || k == L'i') {
            c.kind = L'd';
        } else if (k == L's') {
            c.kind = L's';
        }
        if (c.kind) c.end = i + 1;
    }
    return c;
}

class Output {
public:
    explicit Output(size_t limit) : limit_(limit) {}

    void Append(std::wstring_view text) { text_.append(text.substr(0, Room())); }
    void Repeat(wchar_t c, size_t count) { text_.append(std::min(count, Room()), c); }
    std::wstring Take() { return std::move(text_); }

private:
    size_t Room() const { return limit_ - text_.size(); }

    size_t limit_;
    std::wstring text_;
};

void Pad(Output& out, const Conversion& c, std::wstring_view body, bool before) {
    if (c.width > body.size() && c.leftAlign != before) out.Repeat(L' ', c.width - body.size());
}

void PutNumber(Output& out, const Conversion& c, int value) {
    long long v = value;
    std::wstring digits;
    unsigned long long magnitude =
        v < 0 ? 0ULL - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
    while (magnitude) {
        digits.insert(digits.begin(), static_cast<wchar_t>(L'0' + magnitude % 10));
        magnitude /= 10;
    }
    // As in printf, precision 0 prints nothing for zero.
    size_t minDigits = c.hasPrecision ? c.precision : 1;
    if (digits.size() < minDigits) digits.insert(0, minDigits - digits.size(), L'0');

    std::wstring sign;
    if (v < 0) {
        sign = L"-";
    } else if (c.plusSign) {
        sign = L"+";
    } else if (c.spaceSign) {
        sign = L" ";
    }
    size_t length = sign.size() + digits.size();
    if (c.zeroPad && !c.leftAlign && !c.hasPrecision && c.width > length) {
        out.Append(sign);
        out.Repeat(L'0', c.width - length);
        out.Append(digits);
        return;
    }
    std::wstring body = sign + digits;
    Pad(out, c, body, true);
    out.Append(body);
    Pad(out, c, body, false);
}

void PutText(Output& out, const Conversion& c, std::wstring_view text) {
    if (c.hasPrecision && text.size() > c.precision) text = text.substr(0, c.precision);
    Pad(out, c, text, true);
    out.Append(text);
    Pad(out, c, text, false);
}

}  // namespace

std::wstring SafeFormat(std::wstring_view format, std::initializer_list<FormatArg> args,
                        size_t maxLength) {
    Output out(maxLength);
    const FormatArg* next = args.begin();
    size_t i = 0;
    while (i < format.size()) {
        size_t percent = format.find(L'%', i);
        if (percent == std::wstring_view::npos) {
            out.Append(format.substr(i));
            break;
        }
        out.Append(format.substr(i, percent - i));
        if (percent + 1 < format.size() && format[percent + 1] == L'%') {
            out.Append(L"%");
            i = percent + 2;
            continue;
        }
        Conversion c = Parse(format, percent, maxLength);
        if (!c.kind) {
            // Not a conversion we fill: the "%" stays and the rest reads as plain text.
            out.Append(L"%");
            i = percent + 1;
            continue;
        }
        const FormatArg* arg = next != args.end() ? next++ : nullptr;
        bool wantsText = c.kind == L's';
        if (!arg || arg->IsText() != wantsText) {
            // Taken in order even when it does not fit, so that the conversions
            // after this one still meet the arguments meant for them.
            out.Append(format.substr(percent, c.end - percent));
        } else if (wantsText) {
            PutText(out, c, arg->Text());
        } else {
            PutNumber(out, c, arg->Number());
        }
        i = c.end;
    }
    return out.Take();
}

std::wstring FormatConversions(std::wstring_view format) {
    std::wstring kinds;
    size_t i = 0;
    while ((i = format.find(L'%', i)) != std::wstring_view::npos) {
        if (i + 1 < format.size() && format[i + 1] == L'%') {
            i += 2;
            continue;
        }
        Conversion c = Parse(format, i, kFormatMaxLength);
        kinds.push_back(c.kind ? c.kind : L'?');
        i = c.kind ? c.end : i + 1;
    }
    return kinds;
}
