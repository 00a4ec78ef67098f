// Snapping of live note windows, and the monitors as the system reports them.
// The TwoMonitor cases need a second monitor at (-1024, 0)-(0, 768).

#include <gtest/gtest.h>

#include "../notes/NoteTestHost_win.h"
#include "arrange/Snapping_win.h"

using namespace NoteTest;

namespace {

RECT MoveTo(NoteWindow& note, int x, int y) {
    SetWindowPos(note.Handle(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return note.WindowRect();
}

struct SnappingHost : FakeHost {
    SnappingHost() {
        settings.snapNotes = true;
        settings.snapGap = 10;
        settings.snapBorder = 5;
    }
};

}  // namespace

TEST(SnappingWinTest, NotesSnapBesideVisibleNotesOnlyAndGridTruncatesTowardZero) {
    SnappingHost host;
    auto* anchor = host.LoadNote(DataAt(304, 304, 504, 404, L"a"));  // body (308,308)-(500,400)
    auto* mover = host.LoadNote(DataAt(700, 500, 900, 600, L"m"));
    // Dropped with its body 7 px right of the anchor's body: it keeps the gap of 5.
    RECT r = MoveTo(*mover, 500 + 7 - 4, 310 - 4);
    EXPECT_EQ(500 + 5 - 4, r.left);
    EXPECT_EQ(308 - 4, r.top);
    EXPECT_EQ(0, Arrange::WorkAreaHolds());

    ShowWindow(anchor->Handle(), SW_HIDE);
    r = MoveTo(*mover, 500 + 7 - 4, 310 - 4);
    EXPECT_EQ(500 + 7 - 4, r.left);

    host.settings.useNoteGrid = true;
    r = MoveTo(*mover, 37, -23);
    EXPECT_EQ(30, r.left);
    EXPECT_EQ(-20, r.top);
}

TEST(SnappingWinTest, WorkAreasAreReadOnceForAHeldDrag) {
    Arrange::HoldWorkAreas();
    const std::vector<Rect>* first = &Arrange::WorkAreas();
    EXPECT_EQ(static_cast<size_t>(GetSystemMetrics(SM_CMONITORS)), first->size());
    Arrange::HoldWorkAreas();
    EXPECT_EQ(first, &Arrange::WorkAreas());
    Arrange::ReleaseWorkAreas();
    Arrange::ReleaseWorkAreas();
    Arrange::ReleaseWorkAreas();  // one too many leaves the count at zero
    EXPECT_EQ(0, Arrange::WorkAreaHolds());
}

TEST(SnappingWinTest, TwoMonitorWorkAreaOfAndSnappingToTheLeftMonitorsEdges) {
    if (GetSystemMetrics(SM_CMONITORS) < 2) GTEST_SKIP() << "needs the two-monitor layout";
    std::vector<Arrange::Monitor> monitors = Arrange::EnumerateMonitors();
    ASSERT_EQ(2u, monitors.size());

    SnappingHost host;
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
