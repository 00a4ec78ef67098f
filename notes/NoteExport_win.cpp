// A note's text leaving the program: saved as a text file, or sent by e-mail.

#include <windows.h>

#include <commdlg.h>

#include <algorithm>

#include "lang/LanguageTable.h"
#include "notes/Email_win.h"
#include "notes/NoteWindow_win.h"
#include "store/Folders_win.h"
#include "store/SafeFileName.h"
#include "store/TextFile.h"

void NoteWindow::SaveAs() {
    const LanguageTable& language = host.Language();
    const std::wstring filter = language.TextWithNuls(kTextFilesFilter, L';');
    const std::wstring dialogTitle = language.TextOf(kTitle_SaveNoteAs);
    // Named after the note, in the Documents folder (or the last one used).
    const std::wstring suggested = SafeFileName(TitleText(false), L"Note.txt");
    const std::wstring folder = SaveDialogFolder();
    const std::wstring start = folder.empty() ? suggested : InFolder(folder, suggested);
    wchar_t path[MAX_PATH] = {};
    start.copy(path, std::min<size_t>(start.size(), MAX_PATH - 1));
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = Handle();
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrTitle = dialogTitle.c_str();
    if (!folder.empty()) dialog.lpstrInitialDir = folder.c_str();
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
    dialog.lpstrDefExt = L"txt";
    SkipNextDeactivationFade();
    const bool chosen = GetSaveFileNameW(&dialog) != FALSE;
    if (chosen) RememberSaveDialogFolder(path);
    // The text is written even when the host closed the note meanwhile: the
    // user chose the file, and the note's text is still whole.
    if (chosen && !TextFile::Write(path, record.text)) {
        const std::wstring message = language.TextOf(kSaveNote_Failed) + L"\n\n" + path;
        SkipNextDeactivationFade();
        ShowNoteMessage(message, MB_OK | MB_ICONWARNING);
    }
    InvalidateAll();
}

void NoteWindow::EmailNote() {
    const LanguageTable& language = host.Language();
    auto job = std::make_unique<EmailJob>();
    job->body =
        Email::Body(language.TextOf(kEmailHeader), record.text, language.TextOf(kEmailFooter));
    job->noMailProgramText = language.TextOf(kEmail_NoMailProgram);
    job->failedText = language.TextOf(kEmail_Failed);
    job->caption = language.TextOf(kTitle_App);
    job->attachmentPath = WriteEmailAttachment(record.text);
    if (job->attachmentPath.empty()) {
        ShowNoteMessage(job->failedText, MB_OK | MB_ICONWARNING);
        return;
    }
    if (!StartEmail(std::move(job)))
        ShowNoteMessage(language.TextOf(kEmail_Failed), MB_OK | MB_ICONWARNING);
}
