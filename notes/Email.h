#pragma once
// A note sent by e-mail through the system's simple mail interface: the mail
// program opens its compose window with the note in the body and attached as
// a file, and the user picks the recipients.

#include <string>

// Everything the worker thread needs, built completely on the user-interface
// thread; the worker owns it and touches nothing else of the program.
struct EmailJob {
    // A file of its own in the user's temporary folder holding the note's text
    // (TextFile); the worker removes it once the mail program is done with it.
    std::wstring attachmentPath;
    // EmailHeader + the note's text + EmailFooter.
    std::wstring body;
    // Told to the user when there is no mail program to hand the note to, and
    // when the mail program fails to take it.
    std::wstring noMailProgramText;
    std::wstring failedText;
    std::wstring caption;
    // The simple mail library, loaded only for the time of one e-mail: a full
    // path, or empty for MAPI32.DLL of the system folder. A bare name would be
    // searched for, the program's own folder first, where anyone could put one.
    std::wstring library;
};

namespace Email {

constexpr wchar_t kSubject[] = L"Vellomar Note";
// The name the attachment is offered under, whatever its file is called.
constexpr wchar_t kAttachmentName[] = L"Note.zne";

inline std::wstring Body(const std::wstring& header, const std::wstring& text,
                         const std::wstring& footer) {
    return header + text + footer;
}

}  // namespace Email
