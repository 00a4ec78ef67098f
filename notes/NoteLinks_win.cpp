// The note menu's Links submenu: filled from the text each time the menu
// opens, and the link commands.

#include <windows.h>

#include <objbase.h>
#include <shellapi.h>

#include "lang/LanguageTable.h"
#include "notes/Links.h"
#include "notes/Links_win.h"
#include "notes/NoteWindow_win.h"
#include "res/resource.h"
#include "ui/Menu_win.h"
#include "ui/ShellOpen_win.h"

namespace {

// Where the Links submenu stands in the note menu's popup.
constexpr int kLinksPosition = 17;

}  // namespace

bool LaunchLink(const std::wstring& link, DWORD* error) {
    if (!NoteLinks::IsOpenableLink(link)) return false;
    const DWORD result = ShellOpen(link);
    if (error) *error = result;
    return true;
}

// No browser, or none for this kind of address: the user is told.
void NoteHost::OpenLink(const std::wstring& link) {
    DWORD error = ERROR_SUCCESS;
    if (LaunchLink(link, &error) && error != ERROR_SUCCESS)
        ShowMessage(nullptr, ShellOpenFailureText(Language(), link, error).c_str(),
                    Language().TextOf(kTitle_App).c_str(), MB_OK | MB_ICONWARNING);
}

void NoteWindow::FillLinksMenu(HMENU popup) {
    links = NoteLinks::FindLinks(record.text);
    // The reminders of a fired alarm stand above the resource's items.
    const bool reminders = GetMenuState(popup, IDM_NOTE_REMIND_IN_10_MINUTES, MF_BYCOMMAND) != ~0u;
    if (HMENU submenu = GetSubMenu(popup, kLinksPosition + (reminders ? 3 : 0)))
        FillSubmenu(host.Language(), submenu, links, IDM_FIRST_LINK);
}

void NoteWindow::OpenLink(size_t index) {
    if (index >= links.size()) return;
    const std::wstring link = links[index];
    links.clear();
    host.OpenLink(link);
}
