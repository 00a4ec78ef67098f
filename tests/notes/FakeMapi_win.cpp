// A stand-in for the system's simple mail library, built as mapi32.dll in
// three variants (all entry points; no wide MAPISendMail; no MAPISendMail at
// all). Instead of opening a mail program it writes what it was handed to the
// file named by VN_FAKE_MAPI_RECORD, one "name=hex bytes" line per field, and
// answers with the numbers in VN_FAKE_MAPI_LOGON and VN_FAKE_MAPI_SEND.

#include <windows.h>

#include <string>

namespace {

template <typename Str>
struct FileDesc {
    ULONG ulReserved, flFlags, nPosition;
    Str lpszPathName, lpszFileName;
    void* lpFileType;
};

template <typename Str>
struct Message {
    ULONG ulReserved;
    Str lpszSubject, lpszNoteText, lpszMessageType, lpszDateReceived, lpszConversationID;
    ULONG flFlags;
    void* lpOriginator;
    ULONG nRecipCount;
    void* lpRecips;
    ULONG nFileCount;
    FileDesc<Str>* lpFiles;
};

std::wstring Env(const wchar_t* name) {
    wchar_t value[1024] = {};
    const DWORD n = GetEnvironmentVariableW(name, value, 1024);
    return n && n < 1024 ? value : L"";
}

ULONG Answer(const wchar_t* name) {
    const std::wstring value = Env(name);
    return value.empty() ? 0 : static_cast<ULONG>(_wtoi(value.c_str()));
}

std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) out += digits[c >> 4], out += digits[c & 15];
    return out;
}

std::string Utf8(const wchar_t* s) {
    if (!s) return std::string();
    const int n = WideCharToMultiByte(CP_UTF8, 0, s, -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n - 1 : 0, '\0');
    if (n > 1) WideCharToMultiByte(CP_UTF8, 0, s, -1, &out[0], n, nullptr, nullptr);
    return out;
}

[[maybe_unused]] std::string Bytes(const char* s) {
    return s ? s : "";
}

// The attachment is read while the call lasts: the program removes it after.
std::string FileBytes(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "(missing)";
    std::string out;
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(file, buffer, sizeof(buffer), &got, nullptr) && got) out.append(buffer, got);
    CloseHandle(file);
    return out;
}

[[maybe_unused]] void Record(const char* api, const std::string& subject, const std::string& body,
                             const std::string& name, const std::wstring& path, ULONG flags,
                             ULONG position, ULONG files, ULONG recipients) {
    const std::wstring target = Env(L"VN_FAKE_MAPI_RECORD");
    if (target.empty()) return;
    std::string text = std::string("api=") + Hex(api) + "\n";
    text += "subject=" + Hex(subject) + "\nbody=" + Hex(body) + "\nname=" + Hex(name) + "\n";
    text += "path=" + Hex(Utf8(path.c_str())) + "\nattachment=" + Hex(FileBytes(path)) + "\n";
    text += "flags=" + Hex(std::to_string(flags)) + "\nposition=" + Hex(std::to_string(position));
    text += "\nfiles=" + Hex(std::to_string(files)) + "\n";
    text += "recipients=" + Hex(std::to_string(recipients)) + "\n";
    HANDLE file = CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

[[maybe_unused]] std::wstring WidePath(const char* path) {
    if (!path) return std::wstring();
    const int n = MultiByteToWideChar(CP_ACP, 0, path, -1, nullptr, 0);
    std::wstring out(n > 0 ? n - 1 : 0, L'\0');
    if (n > 1) MultiByteToWideChar(CP_ACP, 0, path, -1, &out[0], n);
    return out;
}

}  // namespace

extern "C" {

__declspec(dllexport) ULONG WINAPI
    MAPILogon(ULONG_PTR, LPSTR, LPSTR, ULONG, ULONG, ULONG_PTR* session) {
    *session = 42;
    return Answer(L"VN_FAKE_MAPI_LOGON");
}

__declspec(dllexport) ULONG WINAPI MAPILogoff(ULONG_PTR, ULONG_PTR, ULONG, ULONG) {
    return 0;
}

#ifndef VN_FAKE_MAPI_NO_SEND
__declspec(dllexport) ULONG WINAPI
    MAPISendMail(ULONG_PTR session, ULONG_PTR, Message<LPSTR>* message, ULONG flags, ULONG) {
    if (session != 42 || !message) return 19;  // MAPI_E_INVALID_SESSION
    const FileDesc<LPSTR>* file = message->nFileCount ? message->lpFiles : nullptr;
    Record("A", Bytes(message->lpszSubject), Bytes(message->lpszNoteText),
           file ? Bytes(file->lpszFileName) : "", file ? WidePath(file->lpszPathName) : L"", flags,
           file ? file->nPosition : 0, message->nFileCount, message->nRecipCount);
    return Answer(L"VN_FAKE_MAPI_SEND");
}
#endif

#if !defined(VN_FAKE_MAPI_NO_SEND) && !defined(VN_FAKE_MAPI_NO_WIDE)
__declspec(dllexport) ULONG WINAPI
    MAPISendMailW(ULONG_PTR session, ULONG_PTR, Message<PWSTR>* message, ULONG flags, ULONG) {
    if (session != 42 || !message) return 19;
    const FileDesc<PWSTR>* file = message->nFileCount ? message->lpFiles : nullptr;
    Record("W", Utf8(message->lpszSubject), Utf8(message->lpszNoteText),
           file ? Utf8(file->lpszFileName) : "",
           file && file->lpszPathName ? file->lpszPathName : L"", flags, file ? file->nPosition : 0,
           message->nFileCount, message->nRecipCount);
    return Answer(L"VN_FAKE_MAPI_SEND");
}
#endif

}  // extern "C"
