// A note's window: its life cycle, its mask and lock, its skin buttons, in-place
// editing through the real edit control, Tab cycling, when a move is saved, its
// record going in and coming back out, loading many notes, and deleting with
// its question. (Where the frame's tiles go is the portable nine-slice test's.)

#include <gtest/gtest.h>

#include "support/LanguageFiles.h"
#include "support/NoteTestHost_win.h"
#include "arrange/Rect_win.h"
#include "notes/NoteLoader_win.h"
#include "res/resource.h"
#include "store/NotesFile.h"
#include "store/RecycleBin.h"
#include "store/TextCodec.h"

using namespace NoteTest;

namespace {

bool ClickThrough(const NoteWindow& note) {
    return (GetWindowLongPtrW(note.Handle(), GWL_EXSTYLE) & WS_EX_TRANSPARENT) != 0;
}

// Types into the open editor the way the keyboard does (EM_REPLACESEL sends
// EN_CHANGE, which WM_SETTEXT on a multi-line edit does not).
void Type(NoteWindow& note, const std::wstring& s) {
    SendMessageW(note.EditorHandle(), EM_SETSEL, 0, -1);
    SendMessageW(note.EditorHandle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(s.c_str()));
}

void PressEscape(NoteWindow& note) {
    SendMessageW(note.EditorHandle(), WM_KEYDOWN, VK_ESCAPE, 0);
    PumpMessages();
}

void PressKey(NoteWindow& note, WPARAM key, bool control) {
    BYTE keys[256] = {};
    keys[VK_CONTROL] = control ? 0x80 : 0;
    SetKeyboardState(keys);
    note.Send(WM_KEYDOWN, key, 0);
}

std::wstring BinText(const std::wstring& path) {
    std::string bytes;
    FileIo::ReadFile(path, bytes);
    return TextCodec::FromUtf16Le(bytes.data(), bytes.size());
}

int ChildCount(HWND window) {
    int count = 0;
    EnumChildWindows(
        window, [](HWND, LPARAM n) { return ++*reinterpret_cast<int*>(n), TRUE; },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

std::wstring TextOfWindow(HWND window, WPARAM size = 256) {
    std::wstring buffer(size, L'#');
    const LRESULT n = SendMessageW(window, WM_GETTEXT, size, reinterpret_cast<LPARAM>(&buffer[0]));
    return buffer.substr(0, static_cast<size_t>(n));
}

void UseQuestionAndBin(FakeHost& host) {
    host.language.Load(LangTest::WriteTexts(L"Confirm_DeleteNote=Delete \"%s\"?"));
    host.recycleBin = TestPaths::MakeScratchDir() + L"Bin.txt";
}

}  // namespace

TEST(NoteWindowTest, StartingSizesAndClosingLeavesTheListsWithoutSaving) {
    FakeHost host;
    NoteWindow* loaded = host.Add(std::make_unique<NoteWindow>(host, true, false));
    NoteWindow* forEditing = host.Add(std::make_unique<NoteWindow>(host, true, true));
    ASSERT_TRUE(loaded && forEditing);
    EXPECT_EQ(100, loaded->WindowRect().right - loaded->WindowRect().left);
    EXPECT_EQ(300, forEditing->WindowRect().right - forEditing->WindowRect().left);
    EXPECT_EQ(128, loaded->Alpha());
    EXPECT_EQ(255, forEditing->Alpha());
    EXPECT_EQ(280, forEditing->PriorityIconPos().x);  // (-20, 4) from the right edge

    const int saves = host.saves;
    HWND handle = loaded->Handle();
    SendMessageW(handle, WM_CLOSE, 0, 0);
    EXPECT_EQ(std::vector<NoteWindow*>{forEditing}, host.List()) << "out of the list at once";
    EXPECT_FALSE(IsWindowVisible(handle));
    PumpMessages();
    EXPECT_FALSE(IsWindow(handle)) << "destroyed on the posted message";
    EXPECT_EQ(0u, host.notes.ClosingCount());
    EXPECT_EQ(saves, host.saves);
}

// An idle note is one window: no text view, no buttons. Its text still reaches
// other programs (screen readers, automation) through WM_GETTEXT, and the editor
// exists only while the text is edited.
TEST(NoteWindowTest, AnIdleNoteIsOneWindowWhoseTextOtherProgramsCanRead) {
    FakeHost host;
    host.settings.layeredWindowEnabled = false;  // frame and buttons always shown
    NoteWindow* note = host.LoadNote(DataAt(50, 50, 250, 200, L"first\r\nsecond"));
    EXPECT_EQ(0, ChildCount(note->Handle()));
    EXPECT_EQ(L"first\r\nsecond", TextOfWindow(note->Handle()));
    EXPECT_EQ(13, GetWindowTextLengthW(note->Handle()));
    EXPECT_EQ(L"fir", TextOfWindow(note->Handle(), 4));  // cut to the buffer, NUL included
    EXPECT_EQ(0, SendMessageW(note->Handle(), WM_GETTEXT, 0, 0));

    note->BeginEdit(false);
    EXPECT_EQ(1, ChildCount(note->Handle()));
    Type(*note, L"changed");
    PressEscape(*note);
    EXPECT_EQ(0, ChildCount(note->Handle()));
    EXPECT_EQ(L"changed", TextOfWindow(note->Handle()));
}

// The buttons are drawn on the frame while it is not masked and act as push
// buttons: a click counts when the press and the release are on the same button.
TEST(NoteWindowTest, SkinButtonsAreDrawnWithTheFrameAndClickOnPressAndReleaseOverThem) {
    FakeHost host;
    UseQuestionAndBin(host);
    host.settings.layeredWindowEnabled = false;
    host.settings.confirmDelete = false;
    NoteWindow* note = host.LoadNote(DataAt(50, 50, 250, 200, L"button"));
    const LPARAM onDelete = MAKELPARAM(190, 45), onMenu = MAKELPARAM(8, 45);
    EXPECT_EQ(NoteGeometry::NoteButton::Delete, note->ButtonAt({190, 45}));
    EXPECT_EQ(NoteGeometry::NoteButton::Menu, note->ButtonAt({8, 45}));
    EXPECT_EQ(NoteGeometry::NoteButton::None, note->ButtonAt({100, 45}));
    EXPECT_EQ(kFaces[0], Painted(*note)->At(190, 45));

    note->Send(WM_MOUSEMOVE, 0, onDelete);
    EXPECT_EQ(NoteGeometry::NoteButton::Delete, note->HotButton());
    EXPECT_EQ(kFaces[1], Painted(*note)->At(190, 45));
    note->Send(WM_LBUTTONDOWN, MK_LBUTTON, onDelete);
    EXPECT_EQ(NoteGeometry::NoteButton::Delete, note->PressedButton());
    EXPECT_EQ(note->Handle(), GetCapture());
    EXPECT_EQ(kFaces[2], Painted(*note)->At(190, 45));
    // Slid off before the release: no click, and the capture is given back.
    note->Send(WM_MOUSEMOVE, MK_LBUTTON, onMenu);
    EXPECT_EQ(NoteGeometry::NoteButton::None, note->HotButton());
    note->Send(WM_LBUTTONUP, 0, onMenu);
    PumpMessages();
    ASSERT_TRUE(host.Alive(note));
    EXPECT_EQ(NoteGeometry::NoteButton::None, note->PressedButton());
    EXPECT_NE(note->Handle(), GetCapture());

    // A double click on a button is a second click, not the start of an edit.
    note->Send(WM_LBUTTONDBLCLK, MK_LBUTTON, onDelete);
    EXPECT_FALSE(note->Editing());
    note->Send(WM_LBUTTONUP, 0, onDelete);
    PumpMessages();
    EXPECT_FALSE(host.Alive(note));

    FakeHost layered;  // masked until the frame is revealed: no buttons
    NoteWindow* masked = layered.LoadNote(DataAt(50, 50, 250, 200, L"masked"));
    EXPECT_TRUE(masked->Masked());
    EXPECT_EQ(NoteGeometry::NoteButton::None, masked->ButtonAt({190, 45}));
    EXPECT_EQ(kCorner, Painted(*masked)->At(190, 45));  // the mask covers the place
}

// A drag or resize by the user writes Notes.dat once, when the system's move
// loop ends (or loses the mouse), not at every step. Other moves save at once;
// a change of Z order or activation alone writes nothing.
TEST(NoteWindowTest, AUserMoveIsSavedOnceAtItsEndAndZOrderAloneNever) {
    FakeHost host;
    NoteWindow* note = host.LoadNote(DataAt(50, 50, 250, 200, L"moving"));
    auto moveTo = [&](int x) {
        SetWindowPos(note->Handle(), nullptr, x, 60, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    };
    const int saves = host.saves;
    for (UINT end : {UINT{WM_EXITSIZEMOVE}, UINT{WM_CAPTURECHANGED}}) {
        const int before = host.saves;
        note->Send(WM_ENTERSIZEMOVE);
        for (int x : {60, 70, 80}) moveTo(x + static_cast<int>(end % 7));
        EXPECT_EQ(before, host.saves) << end;
        EXPECT_TRUE(note->MoveUnsaved());
        note->Send(end);
        EXPECT_EQ(before + 1, host.saves) << end;
        EXPECT_FALSE(note->MoveUnsaved());
        note->Send(WM_EXITSIZEMOVE);  // after the capture went: nothing more to save
        EXPECT_EQ(before + 1, host.saves) << end;
    }
    EXPECT_EQ(saves + 2, host.saves);

    moveTo(300);  // a move of the program's own
    EXPECT_EQ(saves + 3, host.saves);
    moveTo(300);  // to where it already is
    SetWindowPos(note->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowPos(note->Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    note->Send(WM_ACTIVATE, WA_ACTIVE, 0);
    note->Send(WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_EQ(saves + 3, host.saves);
}

// Loaded notes are made hidden at their places and shown in batches in file
// order, each below the ones before unless it stays on top. A record whose
// window cannot be made is handed back, not dropped.
TEST(NoteWindowTest, LoadedNotesShowInFileOrderAndARecordWithoutAWindowIsKept) {
    FakeHost host;
    std::vector<NoteData> records;
    for (int i = 0; i < 6; ++i)
        records.push_back(DataAt(40 + i * 30, 40, 200 + i * 30, 180, L"n" + std::to_wstring(i)));
    records[1].hidden = true;
    records[4].alwaysOnTop = true;
    int made = 0;
    host.loading = true;
    const LoadedNotes loaded = ShowLoadedNotes(
        records,
        [&](const NoteData& r) -> std::unique_ptr<NoteWindow> {
            // The third window fails, as when the process is out of handles.
            if (++made == 3) return nullptr;
            return std::make_unique<NoteWindow>(host, true, r);
        },
        2);
    host.loading = false;
    ASSERT_EQ(5u, loaded.shown.size());
    ASSERT_EQ(1u, loaded.unshown.size());
    EXPECT_EQ(records[2], loaded.unshown[0]);
    EXPECT_TRUE(host.List().empty()) << "the caller takes them";
    EXPECT_EQ(0, host.saves);
    const size_t fromRecord[] = {0, 1, 3, 4, 5};
    for (size_t i = 0; i < loaded.shown.size(); ++i) {
        const NoteData& r = records[fromRecord[i]];
        EXPECT_EQ(r, loaded.shown[i]->Data()) << i;
        EXPECT_EQ(!r.hidden, IsWindowVisible(loaded.shown[i]->Handle()) != FALSE) << i;
        EXPECT_EQ(r.alwaysOnTop, loaded.shown[i]->IsTopmost()) << i;
    }
    // Z order, top down, of the shown notes that do not stay on top: 0, 3, 5.
    std::vector<HWND> order;
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
        for (size_t i : {0u, 2u, 4u}) {
            if (w == loaded.shown[i]->Handle()) order.push_back(w);
        }
    }
    EXPECT_EQ((std::vector<HWND>{loaded.shown[0]->Handle(), loaded.shown[2]->Handle(),
                                 loaded.shown[4]->Handle()}),
              order);
}

TEST(NoteWindowTest, LockMakesInactiveNotesClickThroughAndOtherStateSavesOnlyOnAChange) {
    FakeHost host;
    auto* note = host.LoadNote(DataAt(50, 50, 150, 150, L"locked"));
    note->SetLocked(true);
    EXPECT_TRUE(ClickThrough(*note));
    // Activation lifts it for as long as the note is active.
    note->Send(WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_FALSE(ClickThrough(*note));
    note->Send(WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_TRUE(ClickThrough(*note));
    note->Send(WM_LBUTTONDBLCLK, 0, MAKELPARAM(50, 50));
    EXPECT_FALSE(note->Editing());
    note->SetLocked(false);
    EXPECT_FALSE(ClickThrough(*note));

    const int saves = host.saves;
    note->Unhide(true);
    note->SetPriority(kPriorityNormal);
    EXPECT_EQ(saves, host.saves);
    note->SetPriority(kPriorityHigh);
    EXPECT_EQ(saves + 1, host.saves);
    // Hidden from its menu: out of sight, and saved so.
    note->Send(WM_COMMAND, IDM_NOTE_HIDE);
    EXPECT_TRUE(note->Hidden());
    EXPECT_FALSE(IsWindowVisible(note->Handle()));
    EXPECT_EQ(saves + 2, host.saves);
}

TEST(NoteWindowTest, MaskFollowsActivationAndAltOnlyWithAMaskBitmap) {
    FakeHost withMask;
    auto* note = withMask.LoadNote(DataAt(50, 50, 250, 200, L"m"));
    note->Send(WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_TRUE(note->HoverTimerRunning());
    note->Send(WM_SYSKEYUP, VK_MENU, 0);
    EXPECT_TRUE(note->FrameForced());
    EXPECT_FALSE(note->Masked());
    note->Send(WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_FALSE(note->FrameForced());
    EXPECT_FALSE(note->HoverTimerRunning());
    EXPECT_TRUE(note->Masked());

    FakeHost noMask(false);
    auto* plain = noMask.LoadNote(DataAt(50, 50, 250, 200, L"p"));
    plain->Send(WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_FALSE(plain->HoverTimerRunning());
    plain->Send(WM_SYSKEYUP, VK_MENU, 0);
    EXPECT_TRUE(plain->Masked());  // nothing re-evaluates it until an edit ends
    plain->BeginEdit(false);
    EXPECT_FALSE(plain->Masked());

    FakeHost unlayered;
    unlayered.settings.layeredWindowEnabled = false;
    auto* flat = unlayered.LoadNote(DataAt(50, 50, 250, 200, L"f"));
    flat->UpdateMask();
    EXPECT_FALSE(flat->Masked());
}

// While it is edited a layered note is shaped by a window region (the system
// reshapes a colour-keyed window at every change of its pixels), opaque; the
// region follows a change of size, and the end of the edit brings the colour
// key and the translucency back.
TEST(NoteWindowTest, AnEditedLayeredNoteIsShapedByARegionUntilTheEditEnds) {
    FakeHost host;
    NoteWindow* note = host.LoadNote(DataAt(50, 60, 270, 220, L"shaped"));
    const HWND window = note->Handle();
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD flags = 0;
    OwnedRegion region(CreateRectRgn(0, 0, 0, 0));
    ASSERT_TRUE(GetLayeredWindowAttributes(window, &key, &alpha, &flags));
    EXPECT_EQ(flags, static_cast<DWORD>(LWA_COLORKEY | LWA_ALPHA));
    EXPECT_EQ(GetWindowRgn(window, region.Get()), ERROR);

    note->BeginEdit(false);
    ASSERT_TRUE(GetLayeredWindowAttributes(window, &key, &alpha, &flags));
    EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA));
    EXPECT_EQ(alpha, 255);
    ASSERT_NE(GetWindowRgn(window, region.Get()), ERROR);
    RECT box = {};
    GetRgnBox(region.Get(), &box);
    EXPECT_TRUE(PtInRegion(region.Get(), 110, 80));
    EXPECT_LE(box.right, 220);
    EXPECT_LE(box.bottom, 160);

    note->SetRect(RECT{50, 60, 270, 340});
    ASSERT_NE(GetWindowRgn(window, region.Get()), ERROR);
    GetRgnBox(region.Get(), &box);
    EXPECT_GT(box.bottom, 160) << "the region follows the new size";
    EXPECT_LE(box.bottom, 280);

    PressEscape(*note);
    ASSERT_FALSE(note->Editing());
    ASSERT_TRUE(GetLayeredWindowAttributes(window, &key, &alpha, &flags));
    EXPECT_EQ(flags, static_cast<DWORD>(LWA_COLORKEY | LWA_ALPHA));
    EXPECT_EQ(key, SmallWindow::kColorKey);
    EXPECT_EQ(GetWindowRgn(window, region.Get()), ERROR);
}

TEST(NoteWindowTest, BlankNewNoteGoesOnEscapeButStaysWhenTheFocusLeaves) {
    FakeHost host;
    NoteWindow* doomed = host.Add(std::make_unique<NoteWindow>(host, true, true));
    ShowWindow(doomed->Handle(), SW_SHOW);
    doomed->BeginEdit(true);
    Type(*doomed, L" \t\r\n ");
    const int saves = host.saves;
    PressEscape(*doomed);
    EXPECT_TRUE(host.List().empty());
    EXPECT_GT(host.saves, saves);

    NoteWindow* kept = host.Add(std::make_unique<NoteWindow>(host, true, true));
    ShowWindow(kept->Handle(), SW_SHOW);
    kept->BeginEdit(true);
    HWND other = CreateWindowExW(0, L"Static", L"other", WS_POPUP | WS_VISIBLE, 600, 600, 50, 50,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetFocus(other);
    PumpMessages();
    EXPECT_FALSE(kept->Editing());
    EXPECT_EQ(1u, host.List().size());
    DestroyWindow(other);
}

TEST(NoteWindowTest, TabAsksTheHostForTheNextNoteInItsList) {
    FakeHost host;
    NoteWindow* notes[3];
    for (int i = 0; i < 3; ++i)
        notes[i] = host.LoadNote(DataAt(i * 150, 0, i * 150 + 120, 120, L"n"));
    notes[0]->Send(WM_KEYDOWN, VK_TAB, 0);
    notes[2]->Send(WM_KEYDOWN, VK_TAB, 0);
    EXPECT_EQ((std::vector<NoteWindow*>{notes[0], notes[2]}), host.activated);
}

// A note made from its record as loading makes it, changed and saved, writes
// the bytes it was read from but for the change; the typed text reaches the
// save at once and the record when the edit ends.
TEST(NoteWindowTest, ALoadedNoteSavesItsOwnBytesButForWhatWasChanged) {
    FakeHost host;
    NoteData loaded = DataAt(30, 40, 250, 220, L"one\r\ntwo");
    loaded.title = L"Titled";
    loaded.created = {2026, 12, 0, 6, 20, 41, 0, 0};
    loaded.locked = true;
    loaded.hasCustomFont = true;
    loaded.font.lfHeight = -15;
    loaded.font.lfWeight = 700;
    const wchar_t face[] = L"Tahoma";
    std::copy(std::begin(face), std::end(face), loaded.font.lfFaceName);
    loaded.priority = kPriorityHigh;
    loaded.alarmEnabled = loaded.hasAlarm = true;
    loaded.alarmTime = {2099, 1, 4, 2, 3, 4, 5, 6};
    const auto bytes = [](const NoteData& n) {
        NotesFileData file;
        file.notes.push_back(n);
        return SerializeNotes(file);
    };
    host.loading = true;
    NoteWindow* note = host.Add(std::make_unique<NoteWindow>(host, true, loaded));
    host.loading = false;
    ASSERT_TRUE(note && note->Handle());
    EXPECT_EQ(bytes(loaded), bytes(note->Data()));
    EXPECT_EQ(loaded, note->Record());

    note->OnCommand(0, IDM_NOTE_PRIORITY_LOW, nullptr);
    note->OnCommand(0, IDM_NOTE_TITLE_REMOVE, nullptr);
    note->OnCommand(0, IDM_NOTE_ALARM_ENABLED, nullptr);
    note->SetRect(RECT{60, 80, 280, 260}, false);
    NoteData edited = loaded;
    edited.priority = kPriorityLow;
    edited.title.clear();
    edited.alarmEnabled = false;
    edited.rect = {60, 80, 280, 260};
    EXPECT_EQ(edited, note->Record()) << "the record follows the window";
    EXPECT_EQ(bytes(edited), bytes(note->Data()));

    note->BeginEdit(false);
    Type(*note, L"three");
    EXPECT_EQ(L"three", note->Data().text);
    EXPECT_EQ(loaded.text, note->Record().text) << "not taken before the edit ends";
    note->EndEdit(false, true);
    edited.text = L"three";
    EXPECT_EQ(bytes(edited), bytes(note->Record()));
    EXPECT_EQ(bytes(edited), bytes(note->Data()));
}

TEST(NoteWindowTest, BlankNotesGoWithoutQuestionOrTraceAndTheDeleteKeyAlwaysAsks) {
    FakeHost host;
    UseQuestionAndBin(host);
    DialogAnswers answerer;
    answerer.SetUnqueued(IDNO);
    // Blanks and breaks only: even the Delete key, which always asks, does not.
    NoteWindow* blank = host.LoadNote(DataAt(50, 50, 200, 150, L" \r\n\t "));
    PressKey(*blank, VK_DELETE, false);
    EXPECT_FALSE(host.Alive(blank));
    EXPECT_EQ(0, answerer.Seen());
    EXPECT_FALSE(FileIo::FileExists(host.recycleBin));

    host.settings.confirmDelete = false;
    NoteWindow* keyed = host.LoadNote(DataAt(50, 50, 200, 150, L"keyed"));
    PressKey(*keyed, VK_DELETE, false);
    EXPECT_EQ(1, answerer.Seen());
    ASSERT_TRUE(host.Alive(keyed));
    // The delete button posts the same command as the menu item.
    NoteWindow* buttoned = host.LoadNote(DataAt(50, 50, 200, 150, L"button"));
    buttoned->Post(WM_COMMAND, MAKEWPARAM(IDM_NOTE_DELETE, 0), 0);
    PumpMessages();
    EXPECT_FALSE(host.Alive(buttoned));
    PressKey(*keyed, 'D', true);
    EXPECT_FALSE(host.Alive(keyed));
    EXPECT_EQ(1, answerer.Seen());
    const std::wstring& sep = RecycleBin::Separator();
    EXPECT_EQ(L"button" + sep + L"keyed" + sep, BinText(host.recycleBin));
}

TEST(NoteWindowTest, QuestionNamesTheNoteDefaultsToNoAndYesRecyclesThenActivatesTheNext) {
    FakeHost host;
    UseQuestionAndBin(host);
    NoteWindow* first = host.LoadNote(DataAt(50, 50, 200, 150, L"Shopping\r\nmilk"));
    NoteWindow* second = host.LoadNote(DataAt(250, 50, 400, 150, L"other"));
    {
        DialogAnswers answerer;
        answerer.Queue(DialogAnswers::kEnterKey);
        first->DeleteNote(false);
        ASSERT_EQ(answerer.Texts().size(), 1u);
        EXPECT_EQ(L"Delete \"Shopping\"?", answerer.Texts()[0]);
        ASSERT_TRUE(host.Alive(first));
        EXPECT_FALSE(FileIo::FileExists(host.recycleBin));
    }
    DialogAnswers answerer;
    answerer.SetUnqueued(IDYES);
    first->DeleteNote(false);
    EXPECT_FALSE(host.Alive(first));
    EXPECT_EQ(std::vector<NoteWindow*>{first}, host.activated);  // the host picks the next
    EXPECT_EQ(L"Shopping\r\nmilk" + RecycleBin::Separator(), BinText(host.recycleBin));

    // A bin that cannot be written keeps the note, whatever the answer.
    host.recycleBin = TestPaths::MakeScratchDir() + L"missing\\dir\\Bin.txt";
    second->DeleteNote(true);
    EXPECT_TRUE(host.Alive(second));
}
