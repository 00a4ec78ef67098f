#include "ui/SkinButton_win.h"

#include <gtest/gtest.h>

#include <fstream>

#include "tests/TestPaths.h"
#include "tests/ui/TestWindow.h"

namespace {

constexpr int kWidth = 20, kHeight = 16;

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

    POINT Center() const {
        POINT p = {10, 8};
        ClientToScreen(button->Handle(), &p);
        return p;
    }
    void PointAt(POINT p) {
        SetCursorPos(p.x, p.y);
        button->Send(WM_TIMER, HotControl::kHoverTimer);
    }
    void Over() { PointAt(Center()); }
    void Off() { PointAt({Center().x + 60, Center().y}); }
    void Down() { button->Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 8)); }
    void Up() { button->Send(WM_LBUTTONUP, 0, MAKELPARAM(10, 8)); }

    RecordingWindow parent;
    std::unique_ptr<CountingButton> button;
};

TEST_F(SkinButtonTest, ClicksOnlyWhenReleasedOverTheButton) {
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
}

TEST_F(SkinButtonTest, CoveredButtonIsNotHovered) {
    RecordingWindow cover;
    ASSERT_TRUE(cover.Create());
    const POINT p = Center();
    SetWindowPos(cover.Handle(), HWND_TOPMOST, p.x - 5, p.y - 5, 30, 30,
                 SWP_SHOWWINDOW | SWP_NOACTIVATE);
    Over();
    EXPECT_FALSE(button->Hover());
    cover.Destroy();
    Over();
    EXPECT_TRUE(button->Hover());
}

TEST_F(SkinButtonTest, DisablingOrLosingFocusEndsThePressWithoutAClick) {
    for (bool disable : {true, false}) {
        EnableWindow(button->Handle(), TRUE);
        Over();
        Down();
        if (disable) {
            EnableWindow(button->Handle(), FALSE);
            button->Send(WM_TIMER, HotControl::kHoverTimer);
            EXPECT_FALSE(button->Hover());
        } else {
            button->Send(WM_KILLFOCUS);
        }
        EXPECT_FALSE(button->Pressed());
        Up();
        EXPECT_EQ(0, button->clicks);
    }
}

// A one-colour normal face from a file; hover and disabled faces without
// pixels, told apart by identity; no down face.
class SkinButtonFaces : public SkinButtonTest {
protected:
    void SetUp() override {
        SkinButtonTest::SetUp();
        set.normal = LoadFace(RGB(10, 0, 0));
        set.hover = new SkinBitmap;
        set.disabled = new SkinBitmap;
        ASSERT_NE(set.normal, nullptr);
    }
    void TearDown() override { set.Clear(); }
    // A 24-bit BMP file of one colour (60 bytes a line: no padding).
    static SkinBitmap* LoadFace(COLORREF color) {
        auto le = [](uint32_t value, int bytes) {
            std::string out;
            for (int i = 0; i < bytes; ++i) out += char(value >> (8 * i));
            return out;
        };
        std::string pixels;
        for (int i = 0; i < kWidth * kHeight; ++i)
            pixels += {char(GetBValue(color)), char(GetGValue(color)), char(GetRValue(color))};
        std::wstring dir = TestPaths::MakeScratchDir();
        std::ofstream(TestPaths::Narrow(dir + L"face.bmp"), std::ios::binary)
            << "BM" << le(54 + pixels.size(), 4) << le(0, 4) << le(54, 4) << le(40, 4)
            << le(kWidth, 4) << le(kHeight, 4) << le(1, 2) << le(24, 2) << std::string(24, '\0')
            << pixels;
        return LoadSkinBitmap(dir, L"face.bmp", kWhite);
    }
    // The colour the button's erase leaves on a white canvas.
    COLORREF Erase() {
        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP canvas = CreateCompatibleBitmap(screen, kWidth, kHeight);
        ReleaseDC(nullptr, screen);
        HGDIOBJ old = SelectObject(dc, canvas);
        PatBlt(dc, 0, 0, kWidth, kHeight, WHITENESS);
        button->Send(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc));
        const COLORREF seen = GetPixel(dc, 5, 5);
        SelectObject(dc, old);
        DeleteObject(canvas);
        DeleteDC(dc);
        return seen;
    }
    ButtonBitmaps set;
};

TEST_F(SkinButtonFaces, EachStateShowsItsFaceWhenTheBackgroundIsErased) {
    button->SetBitmaps(set);
    EXPECT_EQ(2, set.normal->RefCount());
    EXPECT_EQ(kHeight, button->ClientRect().bottom);  // sized to the normal face
    Off();
    EXPECT_EQ(RGB(10, 0, 0), Erase());
    Over();
    EXPECT_EQ(set.hover, button->CurrentBitmap());
    // No down face: pressed under the cursor draws nothing.
    Down();
    EXPECT_EQ(nullptr, button->CurrentBitmap());
    EXPECT_EQ(RGB(255, 255, 255), Erase());
    // Pressed but dragged off shows the normal face.
    Off();
    EXPECT_EQ(set.normal, button->CurrentBitmap());
    Up();
    EnableWindow(button->Handle(), FALSE);
    EXPECT_EQ(set.disabled, button->CurrentBitmap());
    button.reset();
    EXPECT_EQ(1, set.normal->RefCount());
}

}  // namespace
