#include "app/MainWindow_win.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "res/resource.h"
#include "skin/Skin_win.h"
#include "store/AppSettings.h"
#include "store/SettingsStore.h"
#include "ui/PrivateMessages_win.h"
#include "support/TestPaths.h"
#include "ui/SkinButton_win.h"

namespace {

// Records what the main window tells its owner; swallows the messages it is
// told to.
class RecordingOwner : public MainWindowOwner {
public:
    bool OnMainWindowCommand(WORD, WORD id, HWND) override {
        commands.push_back(id);
        return id == IDM_EXIT;
    }
    bool OnMainWindowMessage(UINT message, WPARAM, LPARAM, LRESULT& result) override {
        if (message != swallow) return false;
        ++swallowed;
        result = 7;
        return true;
    }
    void OnMainWindowButton() override { ++buttonClicks; }

    std::vector<WORD> commands;
    UINT swallow = 0;
    int swallowed = 0;
    int buttonClicks = 0;
};

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        settings.mainWindowX = 40;
        settings.mainWindowY = 30;
        settings.mainWindowAlwaysOnTop = false;
        ASSERT_TRUE(window.Open(false, L"main"));
    }
    std::pair<int32_t, int32_t> StoredPosition() {
        SettingsStore read(path);
        int32_t x = 0, y = 0;
        read.ReadInt(L"/MainWindow/PositionX", x);
        read.ReadInt(L"/MainWindow/PositionY", y);
        return {x, y};
    }

    std::wstring path = TestPaths::MakeScratchDir() + L"Settings.ini";
    AppSettings settings;
    SettingsStore store{path};
    RecordingOwner owner;
    SkinnedWindows windows;
    MainWindow window{owner, windows, settings, store};
};

// Commands reach the owner, which answers whether it handled them; a message
// the owner takes goes no further, the rest reach the window's own handling.
TEST_F(MainWindowTest, TheOwnerSeesCommandsAndMessagesFirst) {
    EXPECT_EQ(0, window.Send(WM_COMMAND, MAKEWPARAM(IDM_NEW_NOTE, 0), 0));
    EXPECT_EQ(0, window.Send(WM_COMMAND, MAKEWPARAM(IDM_EXIT, 0), 0));
    EXPECT_EQ((std::vector<WORD>{IDM_NEW_NOTE, IDM_EXIT}), owner.commands);
    EXPECT_EQ(std::make_pair(40, 30), std::make_pair(static_cast<int>(window.WindowRect().left),
                                                     static_cast<int>(window.WindowRect().top)));

    // The window keeps its place in the settings, with its sign...
    window.Send(WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(-100), static_cast<WORD>(-5)));
    EXPECT_EQ(std::make_pair(-100, -5), StoredPosition());
    EXPECT_EQ(-100, settings.mainWindowX);
    // ...unless its owner takes the message.
    owner.swallow = WM_MOVE;
    EXPECT_EQ(7, window.Send(WM_MOVE, 0, MAKELPARAM(200, 300)));
    EXPECT_EQ(1, owner.swallowed);
    EXPECT_EQ(std::make_pair(-100, -5), StoredPosition());

    window.SetAlwaysOnTop(true);
    EXPECT_TRUE(window.IsTopmost());
    bool stored = false;
    EXPECT_TRUE(SettingsStore(path).ReadBool(L"/MainWindow/AlwaysOnTop", stored) && stored);
}

// The skin gives the window its size and its button, whose click the owner
// hears of.
TEST_F(MainWindowTest, TheSkinsButtonTellsTheOwner) {
    const std::wstring folder = TestPaths::SourceDir() + L"\\skins\\Default\\";
    SettingsStore ini(folder + L"Skin.ini");
    SettingsStore themes(TestPaths::MakeScratchDir() + L"Settings.ini");
    Skin skin;
    uint32_t theme = 0;
    LoadSkin(skin, ini, themes, SkinLoadOptions{folder, nullptr, false}, theme);
    ASSERT_TRUE(skin.mainWindowBackground && skin.mainWindowButton.normal);
    window.ApplySkin(skin);
    window.SetAlwaysOnTop(true);
    ShowWindow(window.Handle(), SW_SHOWNA);
    UpdateWindow(window.Handle());
    const RECT r = window.WindowRect();
    EXPECT_EQ(skin.mainWindowBackground->Width(), r.right - r.left);
    EXPECT_EQ(skin.mainWindowBackground->Height(), r.bottom - r.top);

    ASSERT_NE(nullptr, window.Button());
    const SkinButton& button = *window.Button();
    // The button counts a click only with the cursor on it.
    const RECT face = button.ClientRect();
    POINT middle = {(face.left + face.right) / 2, (face.top + face.bottom) / 2};
    ClientToScreen(button.Handle(), &middle);
    SetCursorPos(middle.x, middle.y);
    button.Send(WM_TIMER, kButtonHoverTimer);
    button.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(middle.x, middle.y));
    button.Send(WM_LBUTTONUP, 0, MAKELPARAM(middle.x, middle.y));
    EXPECT_EQ(1, owner.buttonClicks);
    EXPECT_TRUE(owner.commands.empty());
}

}  // namespace
