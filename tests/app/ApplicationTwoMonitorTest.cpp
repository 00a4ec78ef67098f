// Runs with a second monitor of 1024 x 768 left of the primary one, so the
// virtual screen starts at x = -1024.
#include "ApplicationFixture.h"
#include "arrange/OnScreen_win.h"
#include "arrange/Rect_win.h"
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

// The bounding rectangle of the two monitors holds a gap below the smaller left
// one, (-1024, 768)-(0, 1024): a note there is invisible, so loading brings it
// up onto the left monitor, which is nearest, as it brings back notes outside
// the virtual screen; every note keeps its size.
TEST_F(ApplicationTwoMonitorTest, LoadingKeepsNotesOnTheLeftMonitorAndBringsLostOnesBack) {
    SeedNotes({Record({-700, 300, -500, 450}), Record({-3000, 300, -2800, 450}),
               Record({5000, 300, 5200, 450}), Record({-700, 850, -500, 1000})});
    Application& a = Start();
    ASSERT_EQ(a.Notes().size(), 4u);
    EXPECT_EQ(a.Notes()[0]->WindowRect().left, -700);
    EXPECT_EQ(a.Notes()[0]->WindowRect().top, 300);
    // Brought back to the edge of the virtual screen; snapping may then lay the
    // skin's transparent margin over the edge, never more than the snap distance.
    EXPECT_NEAR(a.Notes()[1]->WindowRect().left, -1024, 15);
    const RECT right = a.Notes()[2]->WindowRect();
    EXPECT_NEAR(right.right, 1280, 15);
    EXPECT_EQ(right.right - right.left, 200) << "moved, not resized";
    const RECT gap = a.Notes()[3]->WindowRect();
    EXPECT_LE(gap.bottom, 768 + 15);
    EXPECT_GE(gap.top, 0);
    EXPECT_LT(gap.right, 0) << "stays on the left monitor";
    EXPECT_EQ(gap.right - gap.left, 200);
    EXPECT_EQ(gap.bottom - gap.top, 150);
}

TEST_F(ApplicationTwoMonitorTest, NewNoteIsCentredOnTheMonitorOfTheHiddenMainWindow) {
    SettingsStore settings(SettingsPath());
    settings.WriteInt(L"/MainWindow/PositionX", -800);
    settings.WriteInt(L"/MainWindow/PositionY", 200);
    settings.WriteBool(L"/MainWindow/Visible", false);
    Application& a = Start();
    ASSERT_FALSE(IsWindowVisible(a.Main().Handle()));
    NoteWindow* note = a.CreateNote(L"", false, true);
    ASSERT_NE(note, nullptr);
    // Centred on the left monitor, then fitted to the 15-pixel grid.
    const RECT r = note->WindowRect();
    EXPECT_NEAR((r.left + r.right) / 2, -512, 15);
    EXPECT_NEAR((r.top + r.bottom) / 2, 384, 15);
}

// The monitors as the test says they are now.
class FakeMonitors : public Arrange::MonitorSource {
public:
    std::vector<Arrange::Monitor> list;
    std::vector<Arrange::Monitor> Monitors() const override { return list; }
};

// The left monitor is taken away while the program runs: each of the messages
// that announce such a change brings the notes that were on it onto the
// primary monitor, and the new places reach Notes.dat. Any other setting
// change moves nothing.
TEST_F(ApplicationTwoMonitorTest, NotesOnARemovedMonitorComeBackAndAreSaved) {
    const struct {
        UINT message;
        WPARAM wParam;
        bool moves;
    } cases[] = {
        {WM_DISPLAYCHANGE, 24, true},
        {WM_SETTINGCHANGE, SPI_SETWORKAREA, true},
        {WM_SETTINGCHANGE, SPI_SETDESKWALLPAPER, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        SeedNotes({Record({-700, 100, -500, 250}, L""), Record({-700, 400, -500, 550}, L""),
                   Record({300, 300, 500, 450}, L"")});
        SettingsStore(SettingsPath()).WriteInt(L"/MainWindow/PositionX", -600);
        Application& a = Start();
        ASSERT_EQ(a.Notes().size(), 3u);
        ASSERT_EQ(a.Main().WindowRect().left, -600);
        FakeMonitors monitors;
        monitors.list = {{{0, 0, 1280, 1024}, {0, 0, 1280, 1024}}};
        a.SetMonitorSource(&monitors);
        a.Main().Send(c.message, c.wParam, 0);
        PumpFor(Application::kDisplayChangeDelay + 300);

        const std::vector<NoteData> saved = SavedNotes();
        ASSERT_EQ(saved.size(), 3u);
        for (size_t i = 0; i < 2; ++i) {
            const RECT r = a.Notes()[i]->WindowRect();
            if (c.moves) {
                EXPECT_NEAR(r.left, 0, 15) << i;
                EXPECT_EQ(r.right - r.left, 200) << "size kept";
                EXPECT_EQ(saved[i].rect.left, r.left) << "saved";
            } else {
                EXPECT_EQ(r.left, -700);
                EXPECT_EQ(saved[i].rect.left, -700);
            }
        }
        EXPECT_EQ(a.Notes()[0]->WindowRect().top, 100) << "moved the shortest way";
        EXPECT_EQ(a.Notes()[2]->WindowRect().left, 300) << "a note on screen stays";
        // The main window comes along, and its new place is kept.
        int32_t mainX = 0;
        SettingsStore(SettingsPath()).ReadInt(L"/MainWindow/PositionX", mainX);
        EXPECT_EQ(a.Main().WindowRect().left >= 0, c.moves);
        EXPECT_EQ(mainX, a.Main().WindowRect().left);
        app.reset();
    }
}

// Each monitor's notes are tiled over that monitor's work area only; a hidden
// note on the left monitor stays where it is and takes no cell there.
TEST_F(ApplicationTwoMonitorTest, TilingKeepsEachMonitorsNotesOnIt) {
    SettingsStore(SettingsPath()).WriteBool(L"/Settings/SnapNotes", false);
    const struct {
        Rect rect;
        bool hidden;
    } seeded[] = {{{-900, 100, -700, 250}, false}, {{100, 100, 300, 250}, false},
                  {{-500, 400, -300, 550}, true},  {{-300, 600, -100, 700}, false},
                  {{900, 800, 1100, 950}, false},  {{500, 50, 760, 300}, false}};
    std::vector<NoteData> records;
    for (const auto& s : seeded) records.push_back(Record(s.rect, L"note", L"", s.hidden));
    SeedNotes(records);
    Application& a = Start();
    ASSERT_EQ(a.Notes().size(), 6u);

    a.Main().Send(WM_COMMAND, IDM_TILE_NOTES, 0);
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

    const std::vector<NoteData> saved = SavedNotes();
    ASSERT_EQ(saved.size(), 6u);
    for (size_t i = 0; i < 6; ++i) {
        const RECT r = a.Notes()[i]->WindowRect();
        EXPECT_EQ(saved[i].rect, ToPortable(r)) << "saved " << i;
        EXPECT_EQ(r.right - r.left, seeded[i].rect.Width()) << "size kept " << i;
    }

    // With the notes put away the command does nothing.
    a.Notes()[0]->Move(5, 5);
    a.Main().Send(WM_COMMAND, IDM_SHOW_NOTES, 0);
    a.Main().Send(WM_COMMAND, IDM_TILE_NOTES, 0);
    EXPECT_EQ(at(0).x, 5);
}

}  // namespace
