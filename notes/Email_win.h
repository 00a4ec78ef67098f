#pragma once
// Sending a note by e-mail with simple MAPI, loaded at run time: a system
// without a mail program has no MAPI32.DLL, or one without the entry points.

#include <memory>
#include <string>

#include "notes/Email.h"

enum class EmailResult {
    Handed,         // the mail program showed the message (sent or discarded there)
    Cancelled,      // the user cancelled the mail program's logon or message
    NoMailProgram,  // no library, or an entry point missing
    Failed,         // the mail program refused the message
};

// A new empty file of the program's own in the user's temporary folder with
// `text` written into it (TextFile); empty when it could not be made.
std::wstring WriteEmailAttachment(const std::wstring& text);

// Hands the job to the mail library and waits for the mail program. The
// attachment is removed afterwards in every case; NoMailProgram and Failed are
// told to the user in a message box of this thread. Runs on any thread.
EmailResult SendNoteByEmail(const EmailJob& job);

// The library an e-mail without one of its own loads instead of the system's;
// for tests, before any e-mail is sent. Empty goes back to the system's.
void OverrideMailLibrary(const std::wstring& path);

// Runs SendNoteByEmail on a new thread that owns the job; returns at once.
// False when no thread could be started (the attachment is then removed).
bool StartEmail(std::unique_ptr<EmailJob> job);
