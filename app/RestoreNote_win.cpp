// "Recycle Bin > Restore a Note...": the deleted notes of the bin, newest first,
// each by its first line and length; the chosen one becomes a new note again.

#include <algorithm>

#include "app/Application_win.h"
#include "app/ListChoice_win.h"
#include "lang/LanguageTable.h"
#include "lang/SafeFormat.h"
#include "lang/Translate_win.h"
#include "res/resource.h"
#include "store/RecycleBinEntries.h"

namespace {

constexpr size_t kItemLineUnits = 60;

struct NoteChoice {
    const LanguageTable& language;
    std::vector<RecycleBin::BinEntry> entries;  // newest first
    int chosen = -1;
};

INT_PTR CALLBACK RestoreNoteDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* choice = reinterpret_cast<NoteChoice*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG: {
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            choice = reinterpret_cast<NoteChoice*>(lParam);
            TranslateDialog(dialog, choice->language);
            HWND list = GetDlgItem(dialog, IDC_DELETED_NOTE_LIST);
            for (const RecycleBin::BinEntry& e : choice->entries) {
                const std::wstring item =
                    SafeFormat(choice->language.TextOf(kRestoreNote_Item),
                               {RecycleBin::FirstVisibleLine(e.text, kItemLineUnits),
                                static_cast<int>(RecycleBin::CountCharacters(e.text))});
                SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
            }
            if (choice->entries.empty()) {
                SendMessageW(
                    list, LB_ADDSTRING, 0,
                    reinterpret_cast<LPARAM>(choice->language.TextOf(kRestoreNote_None).c_str()));
                EnableWindow(GetDlgItem(dialog, IDOK), FALSE);
            } else {
                SendMessageW(list, LB_SETCURSEL, 0, 0);
            }
            return TRUE;
        }
        case WM_COMMAND: {
            int unused = 0;
            if (ListChoiceCommand(dialog, wParam, IDC_DELETED_NOTE_LIST,
                                  choice ? choice->entries.size() : 0,
                                  choice ? choice->chosen : unused))
                return TRUE;
            break;
        }
        default:
            break;
    }
    return FALSE;
}

}  // namespace

void Application::ShowRestoreNoteDialog() {
    if (AnyNoteBusy() || !notesShown) return;
    NoteChoice choice{language, {}};
    choice.entries = RecycleBin::ReadBinEntries(recycleBinPath);
    std::reverse(choice.entries.begin(), choice.entries.end());
    const INT_PTR result = DialogBoxParamW(
        GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_RESTORE_NOTE), mainWindow->Handle(),
        RestoreNoteDialogProc, reinterpret_cast<LPARAM>(&choice));
    if (result != IDOK || choice.chosen < 0) return;
    RestoreNoteFromBin(choice.entries[static_cast<size_t>(choice.chosen)]);
}

bool Application::RestoreNoteFromBin(const RecycleBin::BinEntry& entry) {
    if (!notesShown) return false;
    // The user may have edited the bin in the editor while the list was open.
    bool stillThere = false;
    for (const RecycleBin::BinEntry& e : RecycleBin::ReadBinEntries(recycleBinPath)) {
        if (e.begin == entry.begin && e.end == entry.end && e.text == entry.text) stillThere = true;
    }
    if (!stillThere) {
        mainWindow->ShowMessage(language.TextOf(kRestoreNote_Changed).c_str(), nullptr,
                                MB_OK | MB_ICONWARNING);
        return false;
    }
    if (!CreateNote(entry.text, false, true)) return false;
    // The text leaves the bin only once Notes.dat holds it: until then the bin
    // is its only copy on the disk.
    if (!document->Flush()) return false;
    if (!RecycleBin::RemoveBinEntry(recycleBinPath, entry)) {
        document->Tell(kRestoreNote_NotRemoved, recycleBinPath, GetLastError());
        return false;
    }
    return true;
}
