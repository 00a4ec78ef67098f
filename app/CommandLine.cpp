#include "app/CommandLine.h"

#include <algorithm>

std::wstring CleanCommandLine(const wchar_t* commandLine) {
    std::wstring path;
    if (!commandLine) return path;
    for (const wchar_t* c = commandLine; *c; ++c) {
        if (*c != L'"' && *c != L'\'') path += *c;
    }
    return path;
}

namespace {

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

wchar_t FoldAscii(wchar_t c) {
    return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

bool StartsWithIgnoringCase(const wchar_t* text, const std::wstring& start) {
    for (size_t i = 0; i < start.size(); ++i) {
        if (!text[i] || FoldAscii(text[i]) != FoldAscii(start[i])) return false;
    }
    return true;
}

}  // namespace

std::wstring FileFromCommandLine(const wchar_t* fullCommandLine, const std::wstring& programPath) {
    if (!fullCommandLine) return std::wstring();
    const wchar_t* c = fullCommandLine;
    while (IsBlank(*c)) ++c;
    if (!programPath.empty() && StartsWithIgnoringCase(c, programPath) &&
        (!c[programPath.size()] || IsBlank(c[programPath.size()]))) {
        c += programPath.size();
    } else if (*c == L'"') {
        for (++c; *c && *c != L'"'; ++c) {
        }
        if (*c) ++c;
    } else {
        while (*c && !IsBlank(*c)) ++c;
    }
    while (IsBlank(*c)) ++c;
    return CleanCommandLine(c);
}

namespace {

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

bool HasDrive(const std::wstring& path) {
    return path.size() >= 2 && path[1] == L':' &&
           ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z'));
}

bool IsUnc(const std::wstring& path) {
    return path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]);
}

// "C:" or "\\server\share" (without a trailing separator); empty for neither.
std::wstring RootOf(const std::wstring& path) {
    if (HasDrive(path)) return path.substr(0, 2);
    if (!IsUnc(path)) return std::wstring();
    size_t at = 2;
    for (int part = 0; part < 2 && at <= path.size(); ++part) {
        size_t end = at;
        while (end < path.size() && !IsSeparator(path[end])) ++end;
        at = end + 1;
    }
    return path.substr(0, std::min(at - 1, path.size()));
}

// root + '\\' + the steps of rest, "." and ".." taken, never above the root.
std::wstring JoinSteps(const std::wstring& root, const std::wstring& rest) {
    std::vector<std::wstring> steps;
    size_t at = 0;
    while (at <= rest.size()) {
        size_t end = at;
        while (end < rest.size() && !IsSeparator(rest[end])) ++end;
        const std::wstring step = rest.substr(at, end - at);
        if (step == L"..") {
            if (!steps.empty()) steps.pop_back();
        } else if (!step.empty() && step != L".") {
            steps.push_back(step);
        }
        at = end + 1;
    }
    std::wstring full = root + L"\\";
    for (size_t i = 0; i < steps.size(); ++i) full += (i ? L"\\" : L"") + steps[i];
    // A trailing separator of the path names a folder; it stays.
    if (!steps.empty() && !rest.empty() && IsSeparator(rest.back())) full += L'\\';
    return full;
}

bool SameDrive(const std::wstring& a, const std::wstring& b) {
    return HasDrive(a) && HasDrive(b) && FoldAscii(a[0]) == FoldAscii(b[0]);
}

}  // namespace

std::wstring FullPathFrom(const std::wstring& startFolder, const std::wstring& path) {
    if (path.empty()) return path;
    const std::wstring startRoot = RootOf(startFolder);
    const std::wstring startRest = startFolder.substr(startRoot.size());
    if (IsUnc(path)) {
        const std::wstring root = RootOf(path);
        return JoinSteps(root, path.substr(root.size()));
    }
    if (HasDrive(path)) {
        const std::wstring rest = path.substr(2);
        if (!rest.empty() && IsSeparator(rest[0])) return JoinSteps(path.substr(0, 2), rest);
        if (SameDrive(path, startFolder)) return JoinSteps(startRoot, startRest + L"\\" + rest);
        return JoinSteps(path.substr(0, 2), rest);
    }
    if (IsSeparator(path[0])) return JoinSteps(startRoot, path);
    return JoinSteps(startRoot, startRest + L"\\" + path);
}

std::vector<unsigned char> EncodeHandOverPayload(const std::wstring& path) {
    std::vector<unsigned char> bytes;
    bytes.reserve((path.size() + 1) * 2);
    for (wchar_t c : path) {
        const auto unit = static_cast<unsigned>(c) & 0xFFFFu;
        bytes.push_back(static_cast<unsigned char>(unit & 0xFFu));
        bytes.push_back(static_cast<unsigned char>(unit >> 8));
    }
    bytes.push_back(0);
    bytes.push_back(0);
    return bytes;
}

std::wstring DecodeHandOverPayload(const void* data, std::size_t byteCount) {
    std::wstring path;
    if (!data || byteCount > (kMaxHandOverUnits + 1) * 2) return path;
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i + 1 < byteCount; i += 2) {
        const unsigned unit = bytes[i] | (static_cast<unsigned>(bytes[i + 1]) << 8);
        if (unit == 0) break;
        path += static_cast<wchar_t>(unit);
    }
    if (path.size() > kMaxHandOverUnits) path.clear();
    return path;
}

namespace {

bool IsHighSurrogate(wchar_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

bool IsLowSurrogate(wchar_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

}  // namespace

std::wstring PathForMessage(const std::wstring& path) {
    std::wstring shown = path;
    if (shown.size() > kMessagePathUnits) {
        // The file's name at the end says most; the start says where it lies.
        size_t head = kMessagePathUnits / 3;
        size_t tail = kMessagePathUnits - head - 1;
        if (IsHighSurrogate(shown[head - 1])) --head;
        if (IsLowSurrogate(shown[shown.size() - tail])) --tail;
        shown = shown.substr(0, head) + L"\u2026" + shown.substr(shown.size() - tail);
    }
    for (wchar_t& c : shown) {
        if (c < 0x20 || c == 0x7F) c = L'?';
    }
    return shown;
}

bool HandOverQueue::Push(std::wstring path) {
    if (pending_.size() >= kMaxPending) return false;
    pending_.push_back(std::move(path));
    return true;
}

void HandOverQueue::Drain(const std::function<void(const std::wstring&)>& open) {
    if (draining_) return;
    draining_ = true;
    while (!pending_.empty()) {
        const std::wstring path = std::move(pending_.front());
        pending_.pop_front();
        open(path);
    }
    draining_ = false;
}
