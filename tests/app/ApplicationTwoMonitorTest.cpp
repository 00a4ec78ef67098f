// Runs with a second monitor of 1024 x 768 left of the primary one, so the
// virtual screen starts at x = -1024.
#include "ApplicationFixture.h"
#include "arrange/Tiling.h"
#include "res/resource.h"
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

// Each monitor's notes are tiled over that monitor's work area only; a hidden
// note on the left monitor stays where it is and takes no cell there.
TEST_F(ApplicationTwoMonitorTest, TilingKeepsEachMonitorsNotesOnIt) {
    SettingsStore(data + L"Settings.ini").WriteBool(L"/Settings/SnapNotes", false);
    NotesFileData file;
    const struct {
        Rect rect;
        bool hidden;
    } seeded[] = {{{-900, 100, -700, 250}, false}, {{100, 100, 300, 250}, false},
                  {{-500, 400, -300, 550}, true},  {{-300, 600, -100, 700}, false},
                  {{900, 800, 1100, 950}, false},  {{500, 50, 760, 300}, false}};
    for (const auto& s : seeded) {
        file.notes.emplace_back();
        file.notes.back().rect = s.rect;
        file.notes.back().hidden = s.hidden;
        file.notes.back().text = L"note";
    }
    ASSERT_TRUE(FileIo::WriteFileAtomically(data + L"Notes.dat", SerializeNotes(file)));
    Application& a = Start();
    ASSERT_EQ(a.Notes().size(), 6u);

    a.Send(WM_COMMAND, IDM_TILE_NOTES, 0);
    const Rect leftWork{-1024, 0, 0, 768};
    const Rect primaryWork{0, 0, 1280, 1024};
    auto tiles = [&](std::initializer_list<size_t> indexes) {
        std::vector<Arrange::TileNote> list;
        for (size_t i : indexes) list.push_back({seeded[i].rect, seeded[i].hidden});
        return list;
    };
    const auto left = Arrange::TileLayout(leftWork, tiles({0, 2, 3}));
    const auto primary = Arrange::TileLayout(primaryWork, tiles({1, 4, 5}));
    auto at = [&](size_t i) {
        const RECT r = a.Notes()[i]->WindowRect();
        return Point{r.left, r.top};
    };
    EXPECT_EQ(at(0), *left[0]);
    EXPECT_EQ(at(2), (Point{-500, 400})) << "hidden";
    EXPECT_EQ(at(3), *left[2]);
    EXPECT_EQ(at(1), *primary[0]);
    EXPECT_EQ(at(4), *primary[1]);
    EXPECT_EQ(at(5), *primary[2]);
    EXPECT_LT(at(3).x, 0) << "still on the left monitor";

    std::string bytes;
    NotesFileData saved;
    ASSERT_TRUE(FileIo::ReadFile(data + L"Notes.dat", bytes));
    ParseNotes(bytes, saved);
    ASSERT_EQ(saved.notes.size(), 6u);
    EXPECT_EQ(saved.notes[3].rect.left, at(3).x);
}

}  // namespace
