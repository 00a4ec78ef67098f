// The note menu and its commands: deleting with its question and the recycle
// bin, the menu's states, and the font dialog.

#include <gtest/gtest.h>

#include <fstream>
#include <thread>

#include "NoteTestHost_win.h"
#include "notes/Clipboard_win.h"
#include "res/resource.h"
#include "store/FileIo.h"
#include "store/NoteData_win.h"
#include "store/RecycleBin.h"
#include "store/TextCodec.h"

using namespace NoteTest;

namespace {

bool IsDialogBox(HWND w) {
    wchar_t name[32] = {};
    GetClassNameW(w, name, 32);
    return std::wstring(name) == L"#32770";
}

// Answers this thread's message boxes with `answer` (0: the Enter key, which
// takes the default button), counting them and keeping the last one's text.
struct Answerer {
    static inline WPARAM answer = 0;
    static inline int asked = 0;
    static inline std::wstring text;
    HHOOK hook;

    explicit Answerer(WPARAM reply)
        : hook(SetWindowsHookExW(WH_CBT, &Proc, nullptr, GetCurrentThreadId())) {
        answer = reply;
        asked = 0;
    }
    ~Answerer() { UnhookWindowsHookEx(hook); }

    static LRESULT CALLBACK Proc(int code, WPARAM wParam, LPARAM lParam) {
        HWND box = reinterpret_cast<HWND>(wParam);
        if (code == HCBT_ACTIVATE && IsDialogBox(box)) {
            ++asked;
            wchar_t body[512] = {};
            GetDlgItemTextW(box, 0xFFFF, body, 512);
            text = body;
            PostMessageW(box, answer ? WM_COMMAND : WM_KEYDOWN, answer ? answer : VK_RETURN, 0);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
};

void PressKey(NoteWindow& note, WPARAM key, bool control) {
    BYTE keys[256] = {};
    keys[VK_CONTROL] = control ? 0x80 : 0;
    SetKeyboardState(keys);
    note.Send(WM_KEYDOWN, key, 0);
}

bool Alive(FakeHost& host, NoteWindow* note) {
    return std::find(host.notes.begin(), host.notes.end(), note) != host.notes.end();
}

std::wstring BinText(const std::wstring& path) {
    std::string bytes;
    FileIo::ReadFile(path, bytes);
    return TextCodec::FromUtf16Le(bytes.data(), bytes.size());
}

void UseQuestionAndBin(FakeHost& host) {
    const std::wstring dir = TestPaths::MakeScratchDir();
    std::ofstream(TestPaths::Narrow(dir + L"Lang.ini"))
        << "[Text]\r\nConfirm_DeleteNote=Delete \"%s\"?\r\n";
    host.language.Load(dir + L"Lang.ini");
    host.recycleBin = dir + L"Bin.txt";
}

int CALLBACK TakeFace(const LOGFONTW* font, const TEXTMETRICW*, DWORD type, LPARAM out) {
    if (!(type & TRUETYPE_FONTTYPE) || font->lfFaceName[0] == L'@') return 1;
    *reinterpret_cast<LOGFONTW*>(out) = *font;
    return 0;
}

BOOL CALLBACK FindDialog(HWND w, LPARAM out) {
    if (!IsDialogBox(w) || !IsWindowVisible(w)) return TRUE;
    *reinterpret_cast<HWND*>(out) = w;
    return FALSE;
}

// Closes the first dialog that shows on `thread` with `command`.
std::thread CloseDialogOf(DWORD thread, WPARAM command) {
    return std::thread([thread, command] {
        HWND found = nullptr;
        for (int i = 0; i < 500 && !found; ++i, Sleep(20))
            EnumThreadWindows(thread, &FindDialog, reinterpret_cast<LPARAM>(&found));
        if (found) PostMessageW(found, WM_COMMAND, command, 0);
    });
}

}  // namespace

TEST(NoteMenuTest, BlankNotesGoWithoutQuestionOrTraceAndConfirmationFollowsTheSetting) {
    FakeHost host;
    UseQuestionAndBin(host);
    Answerer answerer(IDNO);
    // Blanks and breaks only: even the Delete key, which always asks, does not.
    NoteWindow* blank = host.LoadNote(DataAt(50, 50, 200, 150, L" \r\n\t "));
    PressKey(*blank, VK_DELETE, false);
    EXPECT_FALSE(Alive(host, blank));
    EXPECT_EQ(0, answerer.asked);
    EXPECT_FALSE(FileIo::FileExists(host.recycleBin));

    host.settings.confirmDelete = false;
    NoteWindow* keyed = host.LoadNote(DataAt(50, 50, 200, 150, L"keyed"));
    PressKey(*keyed, VK_DELETE, false);
    EXPECT_EQ(1, answerer.asked);
    ASSERT_TRUE(Alive(host, keyed));

    // The delete button posts the same command as the menu item.
    NoteWindow* buttoned = host.LoadNote(DataAt(50, 50, 200, 150, L"button"));
    buttoned->Post(WM_COMMAND, MAKEWPARAM(IDM_NOTE_DELETE, 0), 0);
    Pump();
    EXPECT_FALSE(Alive(host, buttoned));
    PressKey(*keyed, 'D', true);
    EXPECT_FALSE(Alive(host, keyed));
    EXPECT_EQ(1, answerer.asked);
    const std::wstring& sep = RecycleBin::Separator();
    EXPECT_EQ(BinText(host.recycleBin), L"button" + sep + L"keyed" + sep);
}

TEST(NoteMenuTest, QuestionNamesTheNoteDefaultsToNoAndYesRecyclesThenActivatesTheNext) {
    FakeHost host;
    UseQuestionAndBin(host);
    NoteWindow* first = host.LoadNote(DataAt(50, 50, 200, 150, L"Shopping\r\nmilk"));
    NoteWindow* second = host.LoadNote(DataAt(250, 50, 400, 150, L"other"));
    {
        Answerer answerer(0);
        EXPECT_FALSE(first->DeleteNote(false));
        EXPECT_EQ(1, answerer.asked);
        EXPECT_EQ(L"Delete \"Shopping\"?", answerer.text);
        ASSERT_TRUE(Alive(host, first));
        EXPECT_FALSE(FileIo::FileExists(host.recycleBin));
    }
    Answerer answerer(IDYES);
    EXPECT_TRUE(first->DeleteNote(false));
    EXPECT_FALSE(Alive(host, first));
    EXPECT_EQ(GetForegroundWindow(), second->Handle());
    EXPECT_EQ(BinText(host.recycleBin), L"Shopping\r\nmilk" + RecycleBin::Separator());

    // A bin that cannot be written keeps the note, whatever the answer.
    host.recycleBin = TestPaths::MakeScratchDir() + L"missing\\dir\\Bin.txt";
    EXPECT_FALSE(second->DeleteNote(true));
    EXPECT_TRUE(Alive(host, second));
}

TEST(NoteMenuTest, MenuStatesFollowTheNote) {
    FakeHost host;
    HMENU bar = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_NOTE_MENU));
    ASSERT_NE(bar, nullptr);
    HMENU popup = GetSubMenu(bar, 0);
    auto state = [&](UINT id) { return GetMenuState(popup, id, MF_BYCOMMAND); };
    auto grey = [&](UINT id) { return (state(id) & MF_GRAYED) != 0; };
    auto checked = [&](UINT id) { return (state(id) & MF_CHECKED) != 0; };
    NoteWindow* note = host.LoadNote(DataAt(50, 50, 200, 150, L"start"));

    ASSERT_TRUE(OpenClipboard(nullptr) && EmptyClipboard() && CloseClipboard());
    note->PrepareNoteMenu(popup);
    EXPECT_EQ(static_cast<UINT>(IDM_NOTE_EDIT), GetMenuDefaultItem(popup, FALSE, 0));
    EXPECT_TRUE(grey(IDM_NOTE_UNDO));
    EXPECT_TRUE(grey(IDM_NOTE_REDO));
    EXPECT_TRUE(grey(IDM_NOTE_PASTE));
    EXPECT_TRUE(grey(IDM_NOTE_FONT_USE_CUSTOM_DEFAULT));

    ASSERT_TRUE(CopyTextToClipboard(note->Handle(), L" more"));
    note->Send(WM_COMMAND, IDM_NOTE_PASTE);
    note->Send(WM_COMMAND, IDM_NOTE_PRIORITY_LOW);
    note->Send(WM_COMMAND, IDM_NOTE_LOCK);
    note->PrepareNoteMenu(popup);
    EXPECT_FALSE(grey(IDM_NOTE_UNDO));
    EXPECT_TRUE(grey(IDM_NOTE_REDO));
    EXPECT_FALSE(grey(IDM_NOTE_PASTE));
    EXPECT_TRUE(checked(IDM_NOTE_LOCK));
    for (UINT id = IDM_NOTE_PRIORITY_VERY_HIGH; id <= IDM_NOTE_PRIORITY_VERY_LOW; ++id)
        EXPECT_EQ(id == IDM_NOTE_PRIORITY_LOW, checked(id)) << id;

    note->Send(WM_COMMAND, IDM_NOTE_UNDO);
    note->PrepareNoteMenu(popup);
    EXPECT_TRUE(grey(IDM_NOTE_UNDO));
    EXPECT_FALSE(grey(IDM_NOTE_REDO));

    DestroyMenu(bar);
}

TEST(NoteMenuTest, ChosenFontLosesUnderlineAndCancelKeepsTheSkinFont) {
    FakeHost host;
    // A face the dialog lists, so that it accepts the starting font.
    LOGFONTW face = {};
    face.lfCharSet = DEFAULT_CHARSET;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(screen, &face, &TakeFace, reinterpret_cast<LPARAM>(&face), 0);
    ReleaseDC(nullptr, screen);
    ASSERT_NE(face.lfFaceName[0], 0);
    face.lfHeight = -16;
    face.lfUnderline = 1;
    host.settings.customDefaultFont = FromLogFontW(face);
    host.settings.hasCustomDefaultFont = true;
    NoteWindow* note = host.LoadNote(DataAt(50, 50, 200, 150, L"font"));

    std::thread cancel = CloseDialogOf(GetCurrentThreadId(), IDCANCEL);
    note->Send(WM_COMMAND, IDM_NOTE_FONT_SELECT_CUSTOM);
    cancel.join();
    EXPECT_FALSE(note->Data().hasCustomFont);
    EXPECT_EQ(host.skin.noteFont, note->CurrentFont());

    std::thread ok = CloseDialogOf(GetCurrentThreadId(), IDOK);
    note->Send(WM_COMMAND, IDM_NOTE_FONT_SELECT_CUSTOM);
    ok.join();
    ASSERT_TRUE(note->Data().hasCustomFont);
    EXPECT_EQ(0, note->Data().font.lfUnderline);
    LOGFONTW made = {};
    GetObjectW(note->CurrentFont(), sizeof(made), &made);
    EXPECT_EQ(0, made.lfUnderline);
    EXPECT_STREQ(face.lfFaceName, made.lfFaceName);

    note->Send(WM_COMMAND, IDM_NOTE_FONT_USE_SKIN_DEFAULT);
    EXPECT_FALSE(note->Data().hasCustomFont);
    EXPECT_EQ(host.skin.noteFont, note->CurrentFont());
}
