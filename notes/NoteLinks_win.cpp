// The note menu's Links submenu: filled from the text each time the menu
// opens, and the link commands.

#include <windows.h>

#include <objbase.h>
#include <shellapi.h>

#include "notes/Links.h"
#include "notes/Links_win.h"
#include "notes/NoteWindow_win.h"
#include "res/resource.h"
#include "ui/Menu_win.h"

namespace {

// Where the Links submenu stands in the note menu's popup.
constexpr int kLinksPosition = 17;

}  // namespace

bool LaunchLink(const std::wstring& link) {
    if (!NoteLinks::IsOpenableLink(link)) return false;
    // Some browsers' shell handlers are COM objects; the shell wants COM set
    // up on the calling thread for them.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    ShellExecuteW(nullptr, nullptr, link.c_str(), nullptr, nullptr, SW_SHOWDEFAULT);
    if (SUCCEEDED(com)) CoUninitialize();
    return true;
}

void NoteHost::OpenLink(const std::wstring& link) {
    LaunchLink(link);
}

void NoteWindow::FillLinksMenu(HMENU popup) {
    links = NoteLinks::FindLinks(text);
    if (HMENU submenu = GetSubMenu(popup, kLinksPosition))
        FillSubmenu(submenu, links, IDM_FIRST_LINK);
}

void NoteWindow::OpenLink(size_t index) {
    if (index >= links.size()) return;
    const std::wstring link = links[index];
    links.clear();
    host.OpenLink(link);
}
