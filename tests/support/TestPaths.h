#pragma once
// Paths of test data in the source tree and scratch folders for tests.

#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <cstdlib>
#include <string>
#endif

namespace TestPaths {

inline std::wstring Widen(const char* text) {
    std::wstring out;
    for (; *text; ++text) out += static_cast<wchar_t>(static_cast<unsigned char>(*text));
    return out;
}

inline std::string Narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out += static_cast<char>(c);
    return out;
}

// The source tree (seen through Wine's Z: drive in the Windows build).
inline std::wstring SourceDir() {
    return Widen(VN_SOURCE_DIR);
}

// A new empty folder under the system's temporary folder, with a trailing separator.
inline std::wstring MakeScratchDir() {
#ifdef _WIN32
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    static unsigned counter = 0;
    for (;;) {
        std::wstring dir = std::wstring(base) + L"vn-test-" +
                           std::to_wstring(GetCurrentProcessId()) + L"-" +
                           std::to_wstring(++counter);
        if (CreateDirectoryW(dir.c_str(), nullptr)) return dir + L"\\";
        if (GetLastError() != ERROR_ALREADY_EXISTS) return std::wstring(base);
    }
#else
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/vn-test-XXXXXX";
    char* made = mkdtemp(&pattern[0]);
    return Widen(made ? made : "/tmp") + L"/";
#endif
}

}  // namespace TestPaths
