#include "store/RunAtLogOn.h"

namespace {

wchar_t FoldAscii(wchar_t c) {
    return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

}  // namespace

std::wstring RunAtLogOnCommand(const std::wstring& programPath) {
    return L"\"" + programPath + L"\"";
}

bool IsUnquotedRunCommandOf(const std::wstring& data, const std::wstring& programPath) {
    size_t begin = 0;
    size_t end = data.size();
    while (begin < end && (data[begin] == L' ' || data[begin] == L'\t')) ++begin;
    while (end > begin && (data[end - 1] == L' ' || data[end - 1] == L'\t')) --end;
    if (programPath.empty() || end - begin != programPath.size()) return false;
    for (size_t i = 0; i < programPath.size(); ++i) {
        if (FoldAscii(data[begin + i]) != FoldAscii(programPath[i])) return false;
    }
    return true;
}
