// What other programs and files hand the program: the update server's answer,
// the bin's file name from a language, a backup's file name, the command line
// and a hand-over's bytes. Each must be read without a fault, within its caps,
// and give nothing that the program would then misuse.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <string_view>

#include "app/CommandLine.h"
#include "store/DailyBackups.h"
#include "store/RecycleBin.h"
#include "update/UpdateRules.h"

namespace {

bool HasControl(const std::wstring& text) {
    for (wchar_t c : text) {
        if (c < 0x20) return true;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (const auto version = Update::ParseVersionFile(bytes)) {
        if (version->major < 0 || version->minor < 0) abort();
    }

    // The same bytes as UTF-16LE text.
    std::wstring text;
    for (size_t i = 0; i + 1 < size; i += 2) {
        text.push_back(static_cast<wchar_t>(data[i] | (data[i + 1] << 8)));
    }

    const std::wstring bin = RecycleBin::RecycleBinFileName(text);
    if (bin.size() < 5 || bin.size() > RecycleBin::kMaxRecycleBinStem + 4) abort();
    if (bin.compare(bin.size() - 4, 4, L".txt") != 0) abort();
    if (bin.find_first_of(L"\\/:<>\"|?*") != std::wstring::npos || HasControl(bin)) abort();
    if (RecycleBin::IsReservedDeviceName(bin) || bin[bin.size() - 5] == L' ' ||
        bin[bin.size() - 5] == L'.') {
        abort();
    }

    BackupStamp stamp;
    if (ParseBackupName(text, stamp)) {
        if (stamp.month < 1 || stamp.month > 12 || stamp.day < 1 || stamp.day > 31) abort();
    }
    if (const auto server = Update::ParseServer(text)) {
        if (server->host.empty() || server->port == 0) abort();
    }

    const std::wstring handed = DecodeHandOverPayload(data, size);
    if (handed.size() > kMaxHandOverUnits || handed.find(L'\0') != std::wstring::npos) abort();
    if (size <= (kMaxHandOverUnits + 1) * 2 && handed.size() > size / 2) abort();
    const std::wstring shown = PathForMessage(handed);
    if (shown.size() > kMessagePathUnits || HasControl(shown)) abort();

    // A command line stops at its first zero, as the system's does.
    const std::wstring line = text.substr(0, text.find(L'\0'));
    const std::wstring file = FileFromCommandLine(line.c_str(), L"C:\\Program Files\\V N\\Z.exe");
    if (file.find_first_of(L"\"'") != std::wstring::npos || file.size() > line.size()) abort();
    return 0;
}
