#include "notes/Email_win.h"

#include <windows.h>

#include <process.h>

#include <string>

#include "store/TextFile.h"

namespace {

// The records of simple MAPI, declared here because not every SDK's <mapi.h>
// has the wide ones. Both layouts are fixed by the interface.
template <typename Str>
struct FileDesc {
    ULONG ulReserved;
    ULONG flFlags;
    ULONG nPosition;
    Str lpszPathName;
    Str lpszFileName;
    void* lpFileType;
};

template <typename Str>
struct Message {
    ULONG ulReserved;
    Str lpszSubject;
    Str lpszNoteText;
    Str lpszMessageType;
    Str lpszDateReceived;
    Str lpszConversationID;
    ULONG flFlags;
    void* lpOriginator;
    ULONG nRecipCount;
    void* lpRecips;
    ULONG nFileCount;
    FileDesc<Str>* lpFiles;
};

using LogonFn = ULONG(WINAPI*)(ULONG_PTR, LPSTR, LPSTR, ULONG, ULONG, ULONG_PTR*);
using LogoffFn = ULONG(WINAPI*)(ULONG_PTR, ULONG_PTR, ULONG, ULONG);
using SendMailFn = ULONG(WINAPI*)(ULONG_PTR, ULONG_PTR, Message<LPSTR>*, ULONG, ULONG);
using SendMailWFn = ULONG(WINAPI*)(ULONG_PTR, ULONG_PTR, Message<PWSTR>*, ULONG, ULONG);

constexpr ULONG kLogonUi = 0x1;          // MAPI_LOGON_UI: let it ask for a profile
constexpr ULONG kDialog = 0x8;           // MAPI_DIALOG: the user picks the recipients
constexpr ULONG kUserAbort = 1;          // MAPI_USER_ABORT
constexpr ULONG kNotSupported = 26;      // MAPI_E_NOT_SUPPORTED: the system's stub
                                         // library without a mail program behind it
constexpr ULONG kNotPlacedInBody = ~0u;  // the attachment goes after the text

class Library {
public:
    explicit Library(const std::wstring& name) : module(LoadLibraryW(name.c_str())) {}
    ~Library() {
        if (module) FreeLibrary(module);
    }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;
    template <typename Fn>
    Fn Find(const char* name) const {
        return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                      : nullptr;
    }

private:
    HMODULE module;
};

// The system's 8-bit code page; what it has no character for becomes "?".
std::string Narrow(const std::wstring& text) {
    if (text.empty()) return std::string();
    const int size = WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), &out[0], size,
                            nullptr, nullptr);
    return out;
}

// A path the 8-bit interface can still open: when a folder name has
// characters the code page lacks, its short form (plain ASCII) is used.
std::string NarrowPath(const std::wstring& path) {
    BOOL lossy = FALSE;
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path.c_str(), -1, nullptr, 0, nullptr,
                        &lossy);
    if (!lossy) return Narrow(path);
    wchar_t shortPath[MAX_PATH];
    const DWORD length = GetShortPathNameW(path.c_str(), shortPath, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return Narrow(path);
    return Narrow(shortPath);
}

ULONG SendWide(SendMailWFn send, ULONG_PTR session, const EmailJob& job) {
    std::wstring path = job.attachmentPath, name = Email::kAttachmentName;
    std::wstring subject = Email::kSubject, body = job.body;
    FileDesc<PWSTR> file = {0, 0, kNotPlacedInBody, &path[0], &name[0], nullptr};
    Message<PWSTR> message = {};
    message.lpszSubject = &subject[0];
    message.lpszNoteText = &body[0];
    message.nFileCount = 1;
    message.lpFiles = &file;
    return send(session, 0, &message, kDialog, 0);
}

ULONG SendNarrow(SendMailFn send, ULONG_PTR session, const EmailJob& job) {
    std::string path = NarrowPath(job.attachmentPath), name = Narrow(Email::kAttachmentName);
    std::string subject = Narrow(Email::kSubject), body = Narrow(job.body);
    FileDesc<LPSTR> file = {0, 0, kNotPlacedInBody, &path[0], &name[0], nullptr};
    Message<LPSTR> message = {};
    message.lpszSubject = &subject[0];
    message.lpszNoteText = &body[0];
    message.nFileCount = 1;
    message.lpFiles = &file;
    return send(session, 0, &message, kDialog, 0);
}

std::wstring& MailLibraryOverride() {
    static std::wstring path;
    return path;
}

std::wstring MailLibraryPath(const EmailJob& job) {
    if (!job.library.empty()) return job.library;
    if (!MailLibraryOverride().empty()) return MailLibraryOverride();
    wchar_t system[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(system, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return std::wstring();
    return std::wstring(system) + L"\\MAPI32.DLL";
}

EmailResult Hand(const EmailJob& job) {
    const std::wstring path = MailLibraryPath(job);
    if (path.empty()) return EmailResult::NoMailProgram;
    Library mapi(path);
    auto logon = mapi.Find<LogonFn>("MAPILogon");
    auto logoff = mapi.Find<LogoffFn>("MAPILogoff");
    auto send = mapi.Find<SendMailFn>("MAPISendMail");
    // The wide form keeps every character of the note; where the library has
    // it, the mail program gets the text as written.
    auto sendWide = mapi.Find<SendMailWFn>("MAPISendMailW");
    if (!logon || !logoff || !(send || sendWide)) return EmailResult::NoMailProgram;

    ULONG_PTR session = 0;
    const ULONG logged = logon(0, nullptr, nullptr, kLogonUi, 0, &session);
    if (logged == kUserAbort) return EmailResult::Cancelled;
    if (logged == kNotSupported) return EmailResult::NoMailProgram;
    if (logged != 0) return EmailResult::Failed;
    const ULONG sent = sendWide ? SendWide(sendWide, session, job) : SendNarrow(send, session, job);
    logoff(session, 0, 0, 0);
    if (sent == 0) return EmailResult::Handed;
    if (sent == kUserAbort) return EmailResult::Cancelled;
    return sent == kNotSupported ? EmailResult::NoMailProgram : EmailResult::Failed;
}

unsigned __stdcall EmailThread(void* argument) {
    std::unique_ptr<EmailJob> job(static_cast<EmailJob*>(argument));
    SendNoteByEmail(*job);
    return 0;
}

}  // namespace

std::wstring WriteEmailAttachment(const std::wstring& text) {
    wchar_t folder[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH) return std::wstring();
    // Creates the file, with a name no other e-mail of this or another
    // program is using.
    wchar_t path[MAX_PATH];
    if (!GetTempFileNameW(folder, L"vn", 0, path)) return std::wstring();
    if (!TextFile::Write(path, text)) {
        DeleteFileW(path);
        return std::wstring();
    }
    return path;
}

EmailResult SendNoteByEmail(const EmailJob& job) {
    const EmailResult result = Hand(job);
    if (!job.attachmentPath.empty()) DeleteFileW(job.attachmentPath.c_str());
    const std::wstring* told = result == EmailResult::NoMailProgram ? &job.noMailProgramText
                               : result == EmailResult::Failed      ? &job.failedText
                                                                    : nullptr;
    if (told) {
        MessageBoxW(nullptr, told->c_str(), job.caption.c_str(),
                    MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND);
    }
    return result;
}

void OverrideMailLibrary(const std::wstring& path) {
    MailLibraryOverride() = path;
}

bool StartEmail(std::unique_ptr<EmailJob> job) {
    EmailJob* owned = job.release();
    const uintptr_t thread = _beginthreadex(nullptr, 0, &EmailThread, owned, 0, nullptr);
    if (thread == 0) {
        if (!owned->attachmentPath.empty()) DeleteFileW(owned->attachmentPath.c_str());
        delete owned;
        return false;
    }
    // Nobody waits for the thread; it ends by itself with its job.
    CloseHandle(reinterpret_cast<HANDLE>(thread));
    return true;
}
