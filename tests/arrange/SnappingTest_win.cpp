// Snapping of live note windows, and the monitors as the system reports them.
// The two-monitor case needs a second monitor at (-1024, 0)-(0, 768).

#include <gtest/gtest.h>

#include "support/NoteTestHost_win.h"
#include "arrange/Snapping_win.h"
#include "ui/SkinnedWindows_win.h"

using namespace NoteTest;

namespace {

RECT MoveTo(NoteWindow& note, int x, int y) {
    SetWindowPos(note.Handle(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return note.WindowRect();
}

}  // namespace

// A note dropped with its body 7 px right of the anchor's body keeps the
// default gap of 15 from it; a hidden note attracts nothing. A drag gathers
// the other notes once, at its first step, and keeps them until it ends; the
// next move sees the notes where they are then.
TEST(SnappingWinTest, AHeldMoveKeepsTheNotesItFoundAndTheNextMoveLooksAgain) {
    FakeHost host;
    host.settings.snapNotes = true;
    auto* anchor = host.LoadNote(DataAt(304, 304, 504, 404, L"a"));  // body (308,308)-(500,400)
    auto* mover = host.LoadNote(DataAt(700, 500, 900, 600, L"m"));
    host.windows.Hold();
    const RECT r = MoveTo(*mover, 500 + 7 - 4, 310 - 4);
    EXPECT_EQ(500 + 15 - 4, r.left);
    EXPECT_EQ(308 - 4, r.top);
    ShowWindow(anchor->Handle(), SW_HIDE);
    EXPECT_EQ(500 + 15 - 4, MoveTo(*mover, 500 + 9 - 4, 310 - 4).left);
    host.windows.Release();
    EXPECT_EQ(500 + 9 - 4, MoveTo(*mover, 500 + 9 - 4, 310 - 4).left);
    EXPECT_EQ(0, host.windows.Holds());
}

// Two programs' worth of windows in one process: a note snaps to the notes of
// its own set only, and a drag held in one set holds nothing in the other.
TEST(SnappingWinTest, NotesOfAnotherSetNeitherAttractNorShareAHold) {
    FakeHost mine, theirs;
    mine.settings.snapNotes = theirs.settings.snapNotes = true;
    theirs.LoadNote(DataAt(304, 304, 504, 404, L"theirs"));
    auto* anchor = mine.LoadNote(DataAt(304, 704, 504, 804, L"mine"));
    auto* mover = mine.LoadNote(DataAt(700, 500, 900, 600, L"m"));
    ASSERT_NE(anchor, nullptr);
    // Beside theirs: left where dropped; beside ours: the gap of 15.
    EXPECT_EQ(500 + 7 - 4, MoveTo(*mover, 500 + 7 - 4, 310 - 4).left);
    EXPECT_EQ(500 + 15 - 4, MoveTo(*mover, 500 + 7 - 4, 710 - 4).left);

    // Their work areas come from elsewhere: a hold of theirs reads them, ours does not.
    int theirReads = 0;
    theirs.windows.SetWorkAreaSource([&] {
        ++theirReads;
        return std::vector<Rect>{{0, 0, 640, 480}};
    });
    mine.windows.Hold();
    EXPECT_EQ(0, theirs.windows.Holds());
    EXPECT_EQ(0, theirReads);
    theirs.windows.Hold();
    EXPECT_EQ(1, theirReads);
    EXPECT_EQ(1u, theirs.windows.WorkAreas().size());
    theirs.windows.Release();
    mine.windows.Release();
    EXPECT_EQ(2u, mine.windows.Live().size());
    EXPECT_EQ(1u, theirs.windows.Live().size());
}

TEST(SnappingWinTest, TwoMonitorWorkAreaOfAndSnappingToTheLeftMonitorsEdges) {
    if (GetSystemMetrics(SM_CMONITORS) < 2) GTEST_SKIP() << "needs the two-monitor layout";
    ASSERT_EQ(2u, Arrange::EnumerateMonitors().size());

    FakeHost host;
    host.settings.snapNotes = true;  // the default spacing and reach of 15
    auto* note = host.LoadNote(DataAt(-600, 300, -400, 400, L"left"));
    RECT area = Arrange::WorkAreaOf(note->Handle());
    EXPECT_EQ(-1024, area.left);
    EXPECT_EQ(0, area.right);
    EXPECT_EQ(768, area.bottom);
    auto* right = host.LoadNote(DataAt(300, 300, 500, 400, L"right"));
    EXPECT_EQ(0, Arrange::WorkAreaOf(right->Handle()).left);

    // Near the left monitor's left and bottom edges: the body meets them.
    RECT r = MoveTo(*note, -1024 + 6 - 4, 768 - 100 - 3 + 4);
    EXPECT_EQ(-1024 - 4, r.left);
    EXPECT_EQ(768 + 4, r.bottom);
}
