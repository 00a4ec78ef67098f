#include "ui/SkinButton_win.h"

#include <gtest/gtest.h>

#include "support/TestPaths.h"
#include "support/Bitmaps_win.h"
#include "tests/ui/TestWindow.h"
#include "ui/PrivateMessages_win.h"

namespace {

class CountingButton : public SkinButton {
public:
    using SkinButton::SkinButton;
    void OnClick() override { ++clicks; }
    int clicks = 0;
};

// A 20 x 20 button on a topmost parent. The hover poll is driven by hand.
class SkinButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(parent.Create());
        SetWindowPos(parent.Handle(), HWND_TOPMOST, 100, 100, 200, 100, SWP_SHOWWINDOW);
        button = std::make_unique<CountingButton>(parent.Handle());
        ASSERT_NE(nullptr, button->Handle());
        button->SetRect({10, 10, 30, 30});
        UpdateWindow(parent.Handle());
    }

    // Puts the cursor dx pixels right of the button's middle and polls.
    void PointAt(int dx) {
        POINT p = {10 + dx, 8};
        ClientToScreen(button->Handle(), &p);
        SetCursorPos(p.x, p.y);
        button->Send(WM_TIMER, kButtonHoverTimer);
    }
    void Over() { PointAt(0); }
    void Off() { PointAt(60); }
    void Down() { button->Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 8)); }
    void Up() { button->Send(WM_LBUTTONUP, 0, MAKELPARAM(10, 8)); }

    RecordingWindow parent;
    std::unique_ptr<CountingButton> button;
};

TEST_F(SkinButtonTest, ClicksOnlyWhenReleasedOverTheEnabledButton) {
    Over();
    ASSERT_TRUE(button->Hover());
    Down();
    EXPECT_TRUE(button->Pressed());
    EXPECT_EQ(button->Handle(), GetCapture());
    Up();
    EXPECT_FALSE(button->Pressed());
    EXPECT_NE(button->Handle(), GetCapture());
    EXPECT_EQ(1, button->clicks);

    // Dragged off: no click.
    Down();
    Off();
    EXPECT_FALSE(button->Hover());
    EXPECT_TRUE(button->Pressed());
    Up();
    EXPECT_EQ(1, button->clicks);

    // Dragged off and back on: a click.
    Over();
    Down();
    Off();
    Over();
    Up();
    EXPECT_EQ(2, button->clicks);

    // Disabled while pressed: the press ends without a click.
    Down();
    EnableWindow(button->Handle(), FALSE);
    button->Send(WM_TIMER, kButtonHoverTimer);
    EXPECT_FALSE(button->Hover());
    EXPECT_FALSE(button->Pressed());
    Up();
    EXPECT_EQ(2, button->clicks);
}

TEST_F(SkinButtonTest, DrawsItsFaceOnEraseAndHoldsItWhileItLives) {
    const std::wstring dir = TestPaths::MakeScratchDir();
    const SkinColor face = MakeSkinColor(10, 0, 0);
    ASSERT_TRUE(WriteBmp(dir + L"face.bmp", 20, 16, 24, std::vector<SkinColor>(20 * 16, face)));
    ButtonBitmaps set;
    set.normal = LoadSkinBitmap(dir, L"face.bmp", kWhite);
    ASSERT_NE(set.normal, nullptr);
    button->SetBitmaps(set);
    EXPECT_EQ(2, set.normal.use_count());
    EXPECT_EQ(16, button->ClientRect().bottom);  // sized to the face

    Off();
    Canvas canvas(20, 16, kWhite);
    button->Send(WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.Dc()));
    EXPECT_EQ(face, canvas.At(19, 15));
    button.reset();
    EXPECT_EQ(1, set.normal.use_count());
    set.Clear();
}

// KillTimer answers whether the poll was running (and stops it).
bool Polling(HWND button) {
    return KillTimer(button, kButtonHoverTimer) != FALSE;
}

TEST_F(SkinButtonTest, PollsOnlyWhileTheCursorIsOnIt) {
    EXPECT_FALSE(Polling(button->Handle())) << "an idle button must not wake the program";
    Over();
    button->Send(WM_MOUSEMOVE, 0, MAKELPARAM(10, 8));
    EXPECT_TRUE(button->Hover());
    EXPECT_TRUE(Polling(button->Handle()));

    button->Send(WM_MOUSEMOVE, 0, MAKELPARAM(10, 8));
    Off();  // the poll that finds the cursor gone ends the polling
    EXPECT_FALSE(button->Hover());
    EXPECT_FALSE(Polling(button->Handle()));
}

}  // namespace
