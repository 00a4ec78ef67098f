#include "ui/SkinButton_win.h"

#include <gtest/gtest.h>

#include "TestWindow.h"

namespace {

class CountingButton : public SkinButton {
public:
    using SkinButton::SkinButton;
    void OnClick() override { ++clicks; }
    int clicks = 0;
};

class SkinButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(parent.Create());
        SetWindowPos(parent.Handle(), HWND_TOPMOST, 100, 100, 200, 100, SWP_SHOWWINDOW);
        button = new CountingButton(parent.Handle());
        ASSERT_NE(nullptr, button->Handle());
        button->Move(10, 10);
        button->Resize(20, 20);
        UpdateWindow(parent.Handle());
    }
    void TearDown() override {
        delete button;
        parent.Destroy();
    }

    POINT ButtonCenterOnScreen() const {
        POINT p = {10, 10};
        ClientToScreen(button->Handle(), &p);
        return p;
    }
    void PointAt(POINT p) {
        SetCursorPos(p.x, p.y);
        button->Send(WM_TIMER, HotControl::kHoverTimer);
    }
    void Over() { PointAt(ButtonCenterOnScreen()); }
    void Off() {
        POINT p = ButtonCenterOnScreen();
        p.x += 60;
        PointAt(p);
    }
    void Down() { button->Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10)); }
    void Up() { button->Send(WM_LBUTTONUP, 0, MAKELPARAM(10, 10)); }

    RecordingWindow parent;
    CountingButton* button = nullptr;
};

TEST_F(SkinButtonTest, PressAndReleaseOverTheButtonClicks) {
    Over();
    ASSERT_TRUE(button->Hover());
    Down();
    EXPECT_TRUE(button->Pressed());
    EXPECT_EQ(button->Handle(), GetCapture());
    Up();
    EXPECT_FALSE(button->Pressed());
    EXPECT_NE(button->Handle(), GetCapture());
    EXPECT_EQ(1, button->clicks);
}

TEST_F(SkinButtonTest, ReleaseOffTheButtonDoesNotClickButComingBackDoes) {
    Over();
    Down();
    Off();
    EXPECT_FALSE(button->Hover());
    EXPECT_TRUE(button->Pressed());
    Up();
    EXPECT_EQ(0, button->clicks);

    Over();
    Down();
    Off();
    Over();
    Up();
    EXPECT_EQ(1, button->clicks);
}

TEST_F(SkinButtonTest, CoveredButtonIsNotHovered) {
    RecordingWindow cover;
    ASSERT_TRUE(cover.Create());
    const POINT p = ButtonCenterOnScreen();
    SetWindowPos(cover.Handle(), HWND_TOPMOST, p.x - 5, p.y - 5, 30, 30,
                 SWP_SHOWWINDOW | SWP_NOACTIVATE);
    Over();
    EXPECT_FALSE(button->Hover());
    cover.Destroy();
    Over();
    EXPECT_TRUE(button->Hover());
}

TEST_F(SkinButtonTest, DisabledButtonDropsPressAndHoverAtThePoll) {
    Over();
    Down();
    EnableWindow(button->Handle(), FALSE);
    button->Send(WM_TIMER, HotControl::kHoverTimer);
    EXPECT_FALSE(button->Hover());
    EXPECT_FALSE(button->Pressed());
    Up();
    EXPECT_EQ(0, button->clicks);
}

TEST_F(SkinButtonTest, LosingFocusEndsThePress) {
    Over();
    Down();
    button->Send(WM_KILLFOCUS);
    EXPECT_FALSE(button->Pressed());
    Up();
    EXPECT_EQ(0, button->clicks);
}

// Four one-colour faces; the erase draws the face of the state.
class SkinButtonFaces : public SkinButtonTest {
protected:
    void SetUp() override {
        SkinButtonTest::SetUp();
        set.normal = Make(RGB(10, 0, 0), 20, 16);
        set.hover = Make(RGB(20, 0, 0), 20, 16);
        set.disabled = Make(RGB(40, 0, 0), 20, 16);
    }
    void TearDown() override {
        set.Clear();
        SkinButtonTest::TearDown();
    }
    SkinBitmap* Make(COLORREF color, int w, int h) {
        // Build a BMP in memory through a scratch file, as skins do.
        wchar_t dir[MAX_PATH];
        GetTempPathW(MAX_PATH, dir);
        std::wstring path = std::wstring(dir) + L"vn-face-" + std::to_wstring(color) + L".bmp";
        const int stride = (w * 3 + 3) & ~3;
        std::string data(static_cast<size_t>(stride) * h, '\0');
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                data[y * stride + x * 3] = static_cast<char>(GetBValue(color));
                data[y * stride + x * 3 + 1] = static_cast<char>(GetGValue(color));
                data[y * stride + x * 3 + 2] = static_cast<char>(GetRValue(color));
            }
        BITMAPFILEHEADER file = {};
        BITMAPINFOHEADER info = {};
        file.bfType = 0x4D42;
        file.bfOffBits = sizeof(file) + sizeof(info);
        file.bfSize = file.bfOffBits + static_cast<DWORD>(data.size());
        info.biSize = sizeof(info);
        info.biWidth = w;
        info.biHeight = h;
        info.biPlanes = 1;
        info.biBitCount = 24;
        HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(f, &file, sizeof(file), &written, nullptr);
        WriteFile(f, &info, sizeof(info), &written, nullptr);
        WriteFile(f, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
        CloseHandle(f);
        SkinBitmap* bitmap = LoadSkinBitmap(L"", path, kWhite);
        DeleteFileW(path.c_str());
        return bitmap;
    }
    COLORREF Erase() {
        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP canvas = CreateCompatibleBitmap(screen, 20, 16);
        ReleaseDC(nullptr, screen);
        HGDIOBJ old = SelectObject(dc, canvas);
        RECT all = {0, 0, 20, 16};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        button->Send(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc));
        const COLORREF seen = GetPixel(dc, 5, 5);
        SelectObject(dc, old);
        DeleteObject(canvas);
        DeleteDC(dc);
        return seen;
    }
    ButtonBitmaps set;
};

TEST_F(SkinButtonFaces, EachStateDrawsItsBitmap) {
    ASSERT_TRUE(set.normal && set.hover && set.disabled);
    button->SetBitmaps(set);
    EXPECT_EQ(2, set.normal->RefCount());
    RECT r = button->ClientRect();
    EXPECT_EQ(20, r.right);
    EXPECT_EQ(16, r.bottom);

    Off();
    EXPECT_EQ(RGB(10, 0, 0), Erase());
    Over();
    EXPECT_EQ(RGB(20, 0, 0), Erase());
    // No down bitmap: pressed under the cursor draws nothing.
    Down();
    EXPECT_EQ(nullptr, button->CurrentBitmap());
    EXPECT_EQ(RGB(255, 255, 255), Erase());
    // Pressed but dragged off shows the normal face.
    Off();
    EXPECT_EQ(RGB(10, 0, 0), Erase());
    Up();
    EnableWindow(button->Handle(), FALSE);
    EXPECT_EQ(RGB(40, 0, 0), Erase());
}

TEST_F(SkinButtonFaces, NoNormalBitmapKeepsTheSizeAndDeletingReleases) {
    ButtonBitmaps partial;
    partial.CopyFrom(set);
    ReleaseSkinBitmap(partial.normal);
    CountingButton* fresh = new CountingButton(parent.Handle());
    fresh->SetBitmaps(partial);
    RECT r = fresh->ClientRect();
    EXPECT_EQ(1, r.right);
    EXPECT_EQ(1, r.bottom);
    EXPECT_EQ(3, set.hover->RefCount());
    delete fresh;
    EXPECT_EQ(2, set.hover->RefCount());
    partial.Clear();
}

}  // namespace
