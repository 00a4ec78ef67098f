#include "store/TempFiles.h"

namespace TempFiles {

bool Parse(const std::wstring& name, std::wstring& target, uint32_t& processId) {
    static const std::wstring kMarker = L".tmp-";
    const size_t at = name.rfind(kMarker);
    if (at == std::wstring::npos || at == 0) return false;
    const size_t digits = at + kMarker.size();
    if (digits == name.size()) return false;
    uint64_t id = 0;
    for (size_t i = digits; i < name.size(); ++i) {
        const wchar_t c = name[i];
        if (c < L'0' || c > L'9') return false;
        id = id * 10 + static_cast<uint64_t>(c - L'0');
        if (id > UINT32_MAX) return false;
    }
    target = name.substr(0, at);
    processId = static_cast<uint32_t>(id);
    return true;
}

bool IsStale(bool writerRunning, uint64_t writtenAt, uint64_t thisProcessStart) {
    return !writerRunning || writtenAt < thisProcessStart;
}

}  // namespace TempFiles
