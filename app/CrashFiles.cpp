#include "app/CrashFiles.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <set>
#include <cstddef>

namespace {

constexpr wchar_t kPrefix[] = L"Crash-";

bool EndsWith(const std::wstring& s, const std::wstring& end) {
    return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

// "Crash-" + 8 digits + "-" + 6 digits + "-" + 1..10 digits: the stem of a
// crash's files; empty for any other name.
std::wstring StemOf(const std::wstring& name) {
    std::wstring stem;
    if (EndsWith(name, L".dmp") || EndsWith(name, L".txt")) stem = name.substr(0, name.size() - 4);
    const size_t prefix = std::wcslen(kPrefix);
    if (stem.size() < prefix + 17 || stem.size() > prefix + 26 || stem.compare(0, prefix, kPrefix))
        return std::wstring();
    for (size_t i = prefix; i < stem.size(); ++i) {
        const size_t at = i - prefix;
        const bool dash = at == 8 || at == 15;
        if (dash ? stem[i] != L'-' : (stem[i] < L'0' || stem[i] > L'9')) return std::wstring();
    }
    return stem;
}

}  // namespace

size_t FormatCrashStem(const CrashStamp& s, wchar_t* out, size_t size) {
    if (!out || size == 0) return 0;
    const int n = std::swprintf(out, size, L"Crash-%04u%02u%02u-%02u%02u%02u-%u", s.year % 10000u,
                                s.month % 100u, s.day % 100u, s.hour % 100u, s.minute % 100u,
                                s.second % 100u, s.processId);
    if (n < 0 || static_cast<size_t>(n) >= size) {
        out[0] = L'\0';
        return 0;
    }
    return static_cast<size_t>(n);
}

size_t FormatCrashLine(const CrashStamp& s, uint32_t exceptionCode, uint64_t address, char* out,
                       size_t size) {
    if (!out || size == 0) return 0;
    const int n = std::snprintf(
        out, size, "%04u-%02u-%02u %02u:%02u:%02u process %u: exception 0x%08X at 0x%016llX\r\n",
        s.year % 10000u, s.month % 100u, s.day % 100u, s.hour % 100u, s.minute % 100u,
        s.second % 100u, s.processId, exceptionCode, static_cast<unsigned long long>(address));
    if (n < 0 || static_cast<size_t>(n) >= size) {
        out[0] = '\0';
        return 0;
    }
    return static_cast<size_t>(n);
}

std::vector<std::wstring> CrashFilesToPrune(const std::vector<std::wstring>& names, size_t keep) {
    // Stems sort by time: the date and time come first, with fixed widths.
    std::vector<std::wstring> all;
    for (const std::wstring& name : names) {
        if (!StemOf(name).empty()) all.push_back(StemOf(name));
    }
    std::sort(all.begin(), all.end());
    all.erase(std::unique(all.begin(), all.end()), all.end());
    if (all.size() <= keep) return {};
    const std::set<std::wstring> old(all.begin(), all.end() - static_cast<std::ptrdiff_t>(keep));
    std::vector<std::wstring> prune;
    for (const std::wstring& name : names) {
        const std::wstring stem = StemOf(name);
        if (!stem.empty() && old.count(stem)) prune.push_back(name);
    }
    return prune;
}
