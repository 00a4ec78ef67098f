// Runs with a second monitor of 1024 x 768 left of the primary one, so the
// virtual screen starts at x = -1024.
#include "ApplicationFixture.h"
#include "notes/NoteWindow_win.h"
#include "store/FileIo.h"
#include "store/NotesFile.h"
#include "store/SettingsStore.h"

namespace {

class ApplicationTwoMonitorTest : public ApplicationFixture {
protected:
    void SetUp() override {
        ASSERT_EQ(GetSystemMetrics(SM_CMONITORS), 2) << "needs the two-monitor layout";
        ASSERT_EQ(GetSystemMetrics(SM_XVIRTUALSCREEN), -1024);
    }
};

TEST_F(ApplicationTwoMonitorTest, LoadingKeepsNotesOnTheLeftMonitorAndBringsLostOnesBack) {
    NotesFileData file;
    for (int left : {-700, -3000, 5000}) {
        file.notes.emplace_back();
        file.notes.back().rect = {left, 300, left + 200, 450};
        file.notes.back().text = L"note";
    }
    ASSERT_TRUE(FileIo::WriteFileAtomically(data + L"Notes.dat", SerializeNotes(file)));
    Application& a = Start();
    ASSERT_EQ(a.Notes().size(), 3u);
    EXPECT_EQ(a.Notes()[0]->WindowRect().left, -700);
    EXPECT_EQ(a.Notes()[0]->WindowRect().top, 300);
    // Brought back to the edge of the virtual screen; snapping may then lay the
    // skin's transparent margin over the edge, never more than the snap distance.
    EXPECT_NEAR(a.Notes()[1]->WindowRect().left, -1024, 15);
    const RECT right = a.Notes()[2]->WindowRect();
    EXPECT_NEAR(right.right, 1280, 15);
    EXPECT_EQ(right.right - right.left, 200) << "moved, not resized";
}

TEST_F(ApplicationTwoMonitorTest, NewNoteIsCentredOnTheMonitorOfTheHiddenMainWindow) {
    SettingsStore settings(data + L"Settings.ini");
    settings.WriteInt(L"/MainWindow/PositionX", -800);
    settings.WriteInt(L"/MainWindow/PositionY", 200);
    settings.WriteBool(L"/MainWindow/Visible", false);
    Application& a = Start();
    ASSERT_FALSE(IsWindowVisible(a.Handle()));
    NoteWindow* note = a.CreateNote(L"", false, true);
    ASSERT_NE(note, nullptr);
    // Centred on the left monitor, then fitted to the 15-pixel grid.
    const RECT r = note->WindowRect();
    EXPECT_NEAR((r.left + r.right) / 2, -512, 15);
    EXPECT_NEAR((r.top + r.bottom) / 2, 384, 15);
}

}  // namespace
