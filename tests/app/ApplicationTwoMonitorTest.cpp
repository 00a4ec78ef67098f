// Runs with a second monitor of 1024 x 768 left of the primary one, so the
// virtual screen starts at x = -1024.
#include "app/Application_win.h"

#include <gtest/gtest.h>

#include <memory>

#include "TestPaths.h"
#include "notes/NoteWindow_win.h"
#include "store/FileIo.h"
#include "store/NotesFile.h"
#include "store/SettingsStore.h"

namespace {

NoteData NoteAt(int left, int top, const wchar_t* text) {
    NoteData note;
    note.rect = {left, top, left + 200, top + 150};
    note.text = text;
    return note;
}

class ApplicationTwoMonitorTest : public ::testing::Test {
protected:
    void SetUp() override {
        data = TestPaths::MakeScratchDir();
        ASSERT_EQ(GetSystemMetrics(SM_CMONITORS), 2) << "needs the two-monitor layout";
        ASSERT_EQ(GetSystemMetrics(SM_XVIRTUALSCREEN), -1024);
    }
    Application& Start() {
        app = std::make_unique<Application>(restart, failed, data);
        EXPECT_FALSE(failed);
        return *app;
    }
    std::wstring data;
    bool restart = false;
    bool failed = false;
    std::unique_ptr<Application> app;
};

TEST_F(ApplicationTwoMonitorTest, LoadingKeepsNotesOnTheLeftMonitorAndBringsLostOnesBack) {
    NotesFileData file;
    file.notes.push_back(NoteAt(-700, 300, L"on the left monitor"));
    file.notes.push_back(NoteAt(-3000, 300, L"beyond the left edge"));
    file.notes.push_back(NoteAt(5000, 300, L"beyond the right edge"));
    ASSERT_TRUE(FileIo::WriteFileAtomically(data + L"Notes.dat", SerializeNotes(file)));

    Application& a = Start();
    ASSERT_EQ(a.Notes().size(), 3u);
    const RECT kept = a.Notes()[0]->WindowRect();
    EXPECT_EQ(kept.left, -700);
    EXPECT_EQ(kept.top, 300);
    // Brought back to the edge of the virtual screen; snapping may then lay the
    // skin's transparent margin over the edge, never more than the snap distance.
    const int snap = 15;
    const RECT left = a.Notes()[1]->WindowRect();
    EXPECT_GE(left.left, -1024 - snap);
    EXPECT_LE(left.left, -1024 + snap);
    const RECT right = a.Notes()[2]->WindowRect();
    EXPECT_GE(right.right, 1280 - snap);
    EXPECT_LE(right.right, 1280 + snap);
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
    // Centred on the left monitor (1024 x 768 at x = -1024), then fitted to the
    // 15-pixel grid of the snap gap.
    const RECT r = note->WindowRect();
    EXPECT_NEAR((r.left + r.right) / 2, -512, 15);
    EXPECT_NEAR((r.top + r.bottom) / 2, 384, 15);
}

}  // namespace
