// Pictures of what the user sees: the real program, started once per shipped
// skin, colour theme and layering, with notes in every state a person meets
// (inactive and masked, hovered, edited, too much text, a large font, each
// priority, locked) and the main window, each taken from the screen as the X
// server shows it. Writes one BMP per picture into the folder given and
// checks every picture on the way: no pixel of the key colour or a blend of
// it, and no text outside the skin's text area. tests/visual/screenshots.py
// compares the pictures with the references and makes the contact sheet.
//
//   vn_screenshots.exe OUTPUT_FOLDER
// Exit status 0 when every check passed; the failures are printed.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwctype>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <commctrl.h>

#include "app/Application_win.h"
#include "notes/NoteWindow_win.h"
#include "skin/Skin_win.h"
#include "store/FileIo.h"
#include "store/NoteData_win.h"
#include "store/NotesFile.h"
#include "store/SettingsStore.h"
#include "support/Bitmaps_win.h"
#include "support/MessagePump_win.h"
#include "support/TestPaths.h"
#include "update/UpdateCheck_win.h"

namespace {

struct Picture {
    std::wstring name;
    std::vector<SkinColor> pixels;
    int width = 0;
    int height = 0;
};

std::vector<std::wstring> failures;

void Fail(const std::wstring& picture, const std::wstring& what) {
    failures.push_back(picture + L": " + what);
}

// The screen as the X server shows it: a window's layering, its colour key
// and its region included.
Picture Capture(const std::wstring& name, const RECT& r) {
    Picture p;
    p.name = name;
    p.width = r.right - r.left;
    p.height = r.bottom - r.top;
    GdiFlush();
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, p.width, p.height);
    HGDIOBJ old = SelectObject(dc, bitmap);
    BitBlt(dc, 0, 0, p.width, p.height, screen, r.left, r.top, SRCCOPY);
    SelectObject(dc, old);
    p.pixels = ReadPixels(bitmap, p.width, p.height);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return p;
}

// Magenta, or what smoothing makes of it over the paper: much red and blue,
// little green.
bool KeyLike(SkinColor c) {
    const int r = RedOf(c), g = GreenOf(c), b = BlueOf(c);
    return r >= 160 && b >= 160 && r - g >= 110 && b - g >= 110;
}

void CheckKeyColour(const Picture& p) {
    int count = 0, firstX = -1, firstY = -1;
    for (int i = 0; i < p.width * p.height; ++i) {
        if (!KeyLike(p.pixels[static_cast<size_t>(i)])) continue;
        if (count++ == 0) firstX = i % p.width, firstY = i / p.width;
    }
    if (count)
        Fail(p.name, std::to_wstring(count) + L" pixels of the key colour, the first at " +
                         std::to_wstring(firstX) + L"," + std::to_wstring(firstY));
}

// The text is drawn inside `area` only: outside it, the picture with the text
// and the same note without text are the same.
void CheckTextInside(const Picture& with, const Picture& without, const RECT& area) {
    int count = 0;
    for (int y = 0; y < with.height; ++y)
        for (int x = 0; x < with.width; ++x) {
            const size_t i = static_cast<size_t>(y * with.width + x);
            const bool inside =
                x >= area.left && x < area.right && y >= area.top && y < area.bottom;
            if (!inside && with.pixels[i] != without.pixels[i]) ++count;
        }
    if (count) Fail(with.name, std::to_wstring(count) + L" text pixels outside the text area");
}

void Save(const std::wstring& folder, const Picture& p) {
    if (!WriteBmp(folder + p.name + L".bmp", p.width, p.height, 24, p.pixels))
        Fail(p.name, L"could not be written");
}

// The popup menu that the program opens next: pictured from inside the menu's
// own modal loop, by a thread timer, which then closes the menu.
struct MenuPicture {
    std::wstring out, name;
    bool taken = false;
};
MenuPicture* pendingMenu = nullptr;

void CALLBACK TakeMenuPicture(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    HWND popup = FindWindowW(L"#32768", nullptr);
    if (pendingMenu && popup && IsWindowVisible(popup)) {
        RECT r = {};
        GetWindowRect(popup, &r);
        const Picture picture = Capture(pendingMenu->name, r);
        CheckKeyColour(picture);
        Save(pendingMenu->out, picture);
        pendingMenu->taken = true;
    }
    EndMenu();
}

// Opens a menu with the cursor at a point with room below and right of it;
// nothing is highlighted, so disabled items show as they are.
void PictureMenu(const std::wstring& out, const std::wstring& name,
                 const std::function<void()>& open) {
    MenuPicture menu{out, name};
    pendingMenu = &menu;
    SetCursorPos(700, 150);
    const UINT_PTR timer = SetTimer(nullptr, 0, 600, TakeMenuPicture);
    open();
    if (!menu.taken) KillTimer(nullptr, timer);
    pendingMenu = nullptr;
    SetCursorPos(5, 1190);
    PumpMessages();
    if (!menu.taken) Fail(name, L"the menu did not open");
}

struct NoteState {
    const wchar_t* name;
    NoteData record;
};

const wchar_t kShortText[] = L"Shopping\r\nmilk, bread\r\nCall Anna at 6";
const wchar_t kLongText[] =
    L"Friday: the garage about the\tbrakes, then the bank\r\n"
    L"Flat 4, 1187 Longmarsh Road, Upper Wellbridge NN14 7QX\r\n"
    L"Bring the blue folder, the receipts from March and April, the spare key\r\n"
    L"and the letter from the insurer\r\nand more\r\nand more\r\nand more\r\n";

LogFontData Font20() {
    LOGFONTW lf = {};
    HDC screen = GetDC(nullptr);
    lf.lfHeight = -MulDiv(20, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    lf.lfWeight = FW_BOLD;
    lf.lfItalic = 1;
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpyW(lf.lfFaceName, L"Liberation Serif");
    return FromLogFontW(lf);
}

// The notes of one start, each in a cell of its own, 300 pixels apart and
// clear of the system tray's corner.
std::vector<NoteState> States() {
    std::vector<NoteState> states;
    auto add = [&](const wchar_t* name, const std::wstring& text, int width, int height) {
        const int i = static_cast<int>(states.size());
        const int left = 40 + (i % 5) * 300, top = 160 + (i / 5) * 300;
        NoteData d;
        d.rect = {left, top, left + width, top + height};
        d.text = text;
        d.created = {2026, 12, 7, 1, 9, 30, 0, 0};
        states.push_back({name, d});
        return &states.back().record;
    };
    // Larger than either skin's paper: a fixed-size skin shows its own size.
    const int w = 220, h = 160;
    add(L"idle", kShortText, w, h);
    add(L"hovered", kShortText, w, h);
    add(L"editing", kShortText, w, h);
    add(L"moretext", kLongText, w, h);
    add(L"font20", kShortText, w, h)->hasCustomFont = true;
    states.back().record.font = Font20();
    for (int p = 0; p <= 4; ++p) {
        static const wchar_t* names[] = {L"priority0", L"priority1", L"priority2", L"priority3",
                                         L"priority4"};
        add(names[p], kShortText, w, h)->priority = p;
    }
    add(L"locked", kShortText, w, h)->locked = true;
    return states;
}

void WriteSettings(const std::wstring& data, const std::wstring& skin, int theme, bool layered) {
    SettingsStore store(data + L"Settings.ini");
    store.WriteString(L"/SkinName", skin);
    store.WriteUInt32(L"/SkinColorThemeIndex", static_cast<uint32_t>(theme));
    store.WriteBool(L"/Settings/LayeredWindowEnabled", layered);
    store.WriteBool(L"/Settings/CheckForUpdatesAtStartup", false);
    store.WriteBool(L"/Settings/SnapNotes", false);
    store.WriteBool(L"/Settings/ResizeAfterEdit", false);
    store.WriteInt(L"/MainWindow/PositionX", 1300);
    store.WriteInt(L"/MainWindow/PositionY", 60);
}

// One start of the program with a skin, a theme and layering.
void PictureOneStart(const std::wstring& out, const std::wstring& skin, int theme,
                     const std::wstring& themeName, bool layered, bool everyState) {
    const std::wstring data = TestPaths::MakeScratchDir();
    WriteSettings(data, skin, theme, layered);
    const std::wstring prefix =
        skin + L"-" + themeName + (layered ? L"-layered" : L"-plain") + L"-";

    std::vector<NoteState> states = States();
    if (!everyState) states.resize(1);
    NotesFileData file;
    for (const NoteState& s : states) file.notes.push_back(s.record);
    FileIo::WriteFileAtomically(data + L"Notes.dat", SerializeNotes(file));

    bool restart = false, failed = false;
    StartOptions options;
    options.firstOfProcess = false;  // no update check
    options.dataFolder = data;
    auto app = std::make_unique<Application>(restart, failed, options);
    if (failed) {
        Fail(prefix, L"the program did not start");
        return;
    }
    const auto& notes = app->Notes();
    PumpUntil(
        [&] {
            if (notes.size() != states.size()) return false;
            for (const auto& n : notes)
                if (!IsWindowVisible(n->Handle())) return false;
            return true;
        },
        5000);
    SetCursorPos(5, 1190);
    PumpFor(300);

    const Skin& s = app->NoteSkin();
    for (size_t i = 0; i < notes.size() && i < states.size(); ++i) {
        NoteWindow& note = *notes[i];
        const std::wstring name = prefix + states[i].name;
        const std::wstring state = states[i].name;
        const RECT w = note.WindowRect();
        if (state == L"hovered") {
            // On the frame, outside the visible shape's insets: where the
            // mask gives way to the frame and its buttons.
            SetForegroundWindow(note.Handle());
            SetCursorPos(w.left + s.maskInsets.left / 2, w.top + s.maskInsets.top / 2);
            PumpFor(400);
        } else if (state == L"editing") {
            note.BeginEdit(false);
            PumpFor(200);
            HideCaret(note.EditorHandle());
            PumpFor(100);
        }
        const Picture picture = Capture(name, w);
        CheckKeyColour(picture);
        if (state != L"editing") {
            const std::wstring text = note.Text();
            note.SetText(L"");
            PumpFor(100);
            const Picture without = Capture(name, w);
            note.SetText(text);
            const RECT c = note.ClientRect();
            const RECT area = {c.left + s.editInsets.left, c.top + s.editInsets.top,
                               c.right - s.editInsets.right, c.bottom - s.editInsets.bottom};
            CheckTextInside(picture, without, area);
        }
        Save(out, picture);
        if (state == L"hovered") {
            SetCursorPos(5, 1190);
            SetForegroundWindow(app->Main().Handle());
            PumpFor(200);
        } else if (state == L"editing") {
            note.EndEdit(false, true);
            PumpFor(100);
        }
    }

    const Picture main = Capture(prefix + L"main", app->Main().WindowRect());
    CheckKeyColour(main);
    Save(out, main);

    if (everyState && layered) {
        // The note's menu (Undo, Redo and Paste greyed, their icons too) and the
        // main menu, each underline under its letter.
        PictureMenu(out, prefix + L"notemenu", [&] { notes[0]->ShowNoteMenu(); });
        PictureMenu(out, prefix + L"mainmenu", [&] { app->ShowMainMenu(false); });

        // Find notes, filtered by a part of a word in the first line and a word of
        // the text, one row selected: the matches sit on their highlight inside
        // the title without moving a letter of it.
        const std::wstring words = L"pping anna";
        app->OpenFindNotes(&words);
        FindNotesWindow* find = app->FindNotes();
        if (!find || !find->Handle()) {
            Fail(prefix + L"findnotes", L"Find notes did not open");
        } else {
            ListView_SetItemState(find->List(), 1, LVIS_SELECTED | LVIS_FOCUSED,
                                  LVIS_SELECTED | LVIS_FOCUSED);
            SetFocus(find->List());
            PumpFor(300);
            RECT r = {};
            GetWindowRect(find->Handle(), &r);
            Save(out, Capture(prefix + L"findnotes", r));
        }
    }
    app.reset();
    PumpFor(100);
}

std::wstring ProfileString(const std::wstring& file, const wchar_t* section, const wchar_t* key) {
    wchar_t value[256] = {};
    GetPrivateProfileStringW(section, key, L"", value, 256, file.c_str());
    return value;
}

// A name for a file: letters and digits only.
std::wstring FileNamePart(const std::wstring& s) {
    std::wstring out;
    for (wchar_t c : s)
        if (iswalnum(c)) out += c;
    return out.empty() ? L"x" : out;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fputs("usage: vn_screenshots OUTPUT_FOLDER\n", stderr);
        return 2;
    }
    std::wstring out = argv[1];
    if (out.back() != L'\\' && out.back() != L'/') out += L'\\';
    CreateDirectoryW(out.c_str(), nullptr);

    UpdateNetwork nowhere;
    nowhere.server = {L"127.0.0.1", 1};
    nowhere.timeoutMs = 1000;
    OverrideUpdateNetwork(nowhere);

    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring folder = exe;
    folder.resize(folder.find_last_of(L'\\') + 1);

    WIN32_FIND_DATAW found = {};
    HANDLE find = FindFirstFileW((folder + L"Skins\\*").c_str(), &found);
    std::vector<std::wstring> skins;
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != L"." &&
                name != L"..")
                skins.push_back(name);
        } while (FindNextFileW(find, &found));
        FindClose(find);
    }
    if (skins.empty()) {
        std::fputs("no skins beside the program\n", stderr);
        return 2;
    }
    int pictures = 0;
    for (const std::wstring& skin : skins) {
        const std::wstring ini = folder + L"Skins\\" + skin + L"\\Skin.ini";
        const int themes =
            static_cast<int>(GetPrivateProfileIntW(L"ColorThemes", L"Count", 0, ini.c_str()));
        for (int theme = 0; theme < std::max(themes, 1); ++theme) {
            const std::wstring key = L"ColorTheme" + std::to_wstring(theme);
            const std::wstring themeName =
                themes ? FileNamePart(ProfileString(ini, key.c_str(), L"Name")) : L"none";
            // Every state in the first theme; the others only tint the paper.
            for (bool layered : {true, false}) {
                PictureOneStart(out, FileNamePart(skin), theme, themeName, layered, theme == 0);
                ++pictures;
            }
        }
    }
    for (const std::wstring& f : failures) std::fwprintf(stdout, L"FAILED %ls\n", f.c_str());
    std::fwprintf(stdout, L"%d starts, %d failed checks\n", pictures,
                  static_cast<int>(failures.size()));
    return failures.empty() ? 0 : 1;
}
