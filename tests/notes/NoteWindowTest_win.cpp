// A note's window: its life cycle, what it draws, its mask and lock, and its
// size against its text. The skin is drawn by NoteTestHost_win.h.

#include <gtest/gtest.h>

#include "NoteTestHost_win.h"

using namespace NoteTest;

namespace {

// Paints the note into a bitmap of its client size and keeps the pixels.
class Canvas {
public:
    explicit Canvas(NoteWindow& note) {
        RECT c = note.ClientRect();
        HDC screen = GetDC(nullptr);
        dc = CreateCompatibleDC(screen);
        bitmap = CreateCompatibleBitmap(screen, c.right, c.bottom);
        ReleaseDC(nullptr, screen);
        old = SelectObject(dc, bitmap);
        RECT all = {0, 0, c.right, c.bottom};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        note.Paint(dc);
    }
    ~Canvas() {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    COLORREF At(int x, int y) const { return GetPixel(dc, x, y); }

private:
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
};

LONG_PTR ExStyle(const NoteWindow& note) {
    return GetWindowLongPtrW(note.Handle(), GWL_EXSTYLE);
}

}  // namespace

TEST(NoteWindowTest, ConstructionSizesJoinsListsAndDestructionLeavesThemWithoutSaving) {
    FakeHost host;
    auto* loaded = new NoteWindow(host, true, false);
    auto* forEditing = new NoteWindow(host, true, true);

    RECT r = loaded->WindowRect();
    EXPECT_EQ(100, r.right - r.left);
    EXPECT_EQ(100, r.bottom - r.top);
    EXPECT_EQ(300, forEditing->WindowRect().right - forEditing->WindowRect().left);
    EXPECT_EQ(255, forEditing->Alpha());
    EXPECT_EQ(128, loaded->Alpha());
    EXPECT_FALSE(IsWindowVisible(loaded->Handle()));
    EXPECT_TRUE(GetWindowLongPtrW(loaded->TextViewHandle(), GWL_STYLE) & WS_VISIBLE);
    // (-20, 4) counts from the right edge, whatever the width.
    EXPECT_EQ(80, loaded->PriorityIconPos().x);
    EXPECT_EQ(280, forEditing->PriorityIconPos().x);
    EXPECT_EQ(4, loaded->PriorityIconPos().y);
    EXPECT_TRUE(loaded->Masked());

    ASSERT_EQ(2u, host.notes.size());
    EXPECT_EQ(2u, NoteList::Count());
    const int saves = host.saves;
    HWND handle = loaded->Handle();
    delete loaded;
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(1u, host.notes.size());
    EXPECT_EQ(1u, NoteList::Count());
    EXPECT_EQ(forEditing, NoteList::Items().front());
    EXPECT_EQ(saves, host.saves);
}

TEST(NoteWindowTest, PaintTilesWholeTilesUnderTheBordersAndDrawsIconAndMask) {
    FakeHost host;
    host.settings.layeredWindowEnabled = false;  // keeps the mask off for the tile check
    auto* note = host.LoadNote(DataAt(50, 50, 300, 190, L"x"));
    {
        Canvas canvas(*note);
        EXPECT_EQ(kCorner, canvas.At(0, 0));
        EXPECT_EQ(kCorner, canvas.At(245, 5));  // right corner drawn at 240
        // Top tiles, 80 wide, start at 10, 90 and 170; the last one reaches under the corner.
        for (int x : {10, 90, 170}) EXPECT_EQ(kTileMark, canvas.At(x, 5)) << x;
        for (int x : {11, 89, 171, 239}) EXPECT_EQ(kTopEdge, canvas.At(x, 5)) << x;
        EXPECT_EQ(kCentre, canvas.At(125, 70));
        EXPECT_EQ(kCorner, canvas.At(5, 135));  // bottom-left corner at bottom - 20
        EXPECT_EQ(kPriorityColor, canvas.At(230 + 2, 4 + 2));
    }

    FakeHost layered;
    auto* masked = layered.LoadNote(DataAt(50, 50, 300, 190, L"x"));
    ASSERT_TRUE(masked->Masked());
    Canvas canvas(*masked);
    EXPECT_EQ(kMaskColor, canvas.At(125, 70));
    EXPECT_EQ(kMaskColor, canvas.At(0, 0));
}

TEST(NoteWindowTest, FixedSizeSkinDrawsTheBackgroundOnceInTheCorner) {
    FakeHost host({true, false});
    auto* note = host.LoadNote(DataAt(50, 50, 260, 200, L"x"));
    Canvas canvas(*note);
    EXPECT_EQ(kTileMark, canvas.At(10, 5));
    EXPECT_EQ(kCorner, canvas.At(95, 5));
    EXPECT_EQ(RGB(0, 0, 0), canvas.At(150, 5));  // not painted by the note
}

TEST(NoteWindowTest, LockMakesInactiveNotesClickThroughAndUnlockRestoresClicks) {
    FakeHost host;
    auto* note = host.LoadNote(DataAt(50, 50, 150, 150, L"locked"));
    ASSERT_NE(note->Handle(), GetForegroundWindow());
    note->SetLocked(true);
    EXPECT_TRUE(ExStyle(*note) & WS_EX_TRANSPARENT);
    EXPECT_TRUE(note->Data().locked);

    // Activation lifts it for as long as the note is active.
    note->Send(WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_FALSE(ExStyle(*note) & WS_EX_TRANSPARENT);
    note->Send(WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_TRUE(ExStyle(*note) & WS_EX_TRANSPARENT);

    const int saves = host.saves;
    note->SetLocked(false);
    EXPECT_FALSE(ExStyle(*note) & WS_EX_TRANSPARENT);
    EXPECT_EQ(saves + 1, host.saves);

    // A locked note does not start editing on a double click.
    note->SetLocked(true);
    note->Send(WM_LBUTTONDBLCLK, 0, MAKELPARAM(50, 50));
    EXPECT_FALSE(note->Editing());
}

TEST(NoteWindowTest, MaskFollowsActivationAndAltOnlyWithAMaskBitmap) {
    FakeHost withMask;
    auto* note = withMask.LoadNote(DataAt(50, 50, 250, 200, L"m"));
    ASSERT_NE(nullptr, withMask.skin.mask);
    note->Send(WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_TRUE(note->HoverTimerRunning());
    note->Send(WM_SYSKEYUP, VK_MENU, 0);
    EXPECT_TRUE(note->FrameForced());
    EXPECT_FALSE(note->Masked());
    note->Send(WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_FALSE(note->FrameForced());
    EXPECT_FALSE(note->HoverTimerRunning());
    EXPECT_TRUE(note->Masked());  // inactive: covered

    FakeHost noMask({false, false});
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

TEST(NoteWindowTest, ResizeToContentFitsShortAndLongTextsAndMeasuresTheFinalLine) {
    FakeHost host;
    auto* note = host.LoadNote(DataAt(100, 100, 400, 400, L"Hi"));
    note->ResizeToContent();
    RECT r = note->WindowRect();
    EXPECT_EQ(100, r.left);
    EXPECT_EQ(100, r.top);
    EXPECT_EQ(100, r.right - r.left);  // never below the background
    EXPECT_EQ(100, r.bottom - r.top);

    std::wstring paragraph;
    for (int i = 0; i < 60; ++i) paragraph += L"word" + std::to_wstring(i) + L" ";
    note->SetText(paragraph);
    note->ResizeToContent();
    RECT wide = note->WindowRect();
    EXPECT_GT(wide.right - wide.left, 100);
    EXPECT_FALSE(note->MoreText());

    RECT a = {0, 0, 200, 0}, b = {0, 0, 200, 0};
    bool overflow = false;
    note->MeasureText(a, L"line", overflow);
    note->MeasureText(b, L"line\r\n", overflow);
    EXPECT_GT(b.bottom, a.bottom);
    EXPECT_TRUE(overflow);
}

TEST(NoteWindowTest, MoreTextMarkerFollowsTheSize) {
    FakeHost host;
    std::wstring lines;
    for (int i = 0; i < 30; ++i) lines += L"line\r\n";
    auto* note = host.LoadNote(DataAt(0, 0, 150, 150, lines));
    EXPECT_TRUE(note->MoreText());
    note->SetRect(RECT{0, 0, 150, 900});
    EXPECT_FALSE(note->MoreText());
}

TEST(NoteWindowTest, StateChangesSaveOnlyWhenSomethingChanges) {
    FakeHost host;
    auto* note = host.LoadNote(DataAt(0, 0, 150, 150, L"s"));
    int saves = host.saves;
    note->Unhide(true);
    EXPECT_EQ(saves, host.saves);
    note->SetPriority(kPriorityNormal);
    EXPECT_EQ(saves, host.saves);
    note->SetPriority(kPriorityHigh);
    EXPECT_EQ(saves + 1, host.saves);
    note->ToggleAlwaysOnTop();
    EXPECT_TRUE(note->IsTopmost());
    note->Hide();
    EXPECT_FALSE(IsWindowVisible(note->Handle()));
    note->Unhide(true);
    EXPECT_TRUE(IsWindowVisible(note->Handle()));
    NoteData d = note->Data();
    EXPECT_EQ(kPriorityHigh, d.priority);
    EXPECT_TRUE(d.alwaysOnTop);
    EXPECT_FALSE(d.hidden);
    EXPECT_GT(host.saves, saves + 3);
}
