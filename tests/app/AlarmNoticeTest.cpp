// An alarm that fires while its note is hidden and the program sits in the tray:
// the note comes forward, pulses until it is clicked, the tray icon raises a
// notification whose click brings the note again, and the note menu offers to
// remind again in ten minutes or tomorrow.

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <set>

#include "ApplicationFixture.h"
#include "notes/AlarmTime.h"
#include "notes/LocalZone_win.h"
#include "notes/NoteWindow_win.h"
#include "res/resource.h"
#include "support/Bitmaps_win.h"
#include "store/NoteData_win.h"
#include "ui/PrivateMessages_win.h"

namespace {

int64_t NowMs() {
    SYSTEMTIME now;
    GetSystemTime(&now);
    return AlarmTime::ToMilliseconds(FromSystemTime(now));
}

SystemTimeData At(int64_t ms) {
    return AlarmTime::FromMilliseconds(ms);
}

// The alpha values a note shows over `ms`, read every 20 ms.
std::set<int> AlphasOver(HWND window, DWORD ms) {
    std::set<int> seen;
    const DWORD end = GetTickCount() + ms;
    while (static_cast<LONG>(end - GetTickCount()) > 0) {
        PumpFor(20);
        seen.insert(LayeredAlpha(window));
    }
    return seen;
}

// A real press and release of the left button on the note's body, which
// starts and ends the system's move loop as a user's click does.
void ClickOn(HWND window, const std::function<bool()>& done) {
    RECT r;
    GetWindowRect(window, &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, input, sizeof(INPUT));
    EXPECT_TRUE(PumpUntil(done, 5000));
}

bool MenuHas(HMENU menu, UINT id) {
    return GetMenuState(menu, id, MF_BYCOMMAND) != ~0u;
}

class AlarmNoticeTest : public ApplicationFixture {
protected:
    // Starts with a hidden note whose alarm falls due 0.8 s later, the main
    // window in the tray, and waits for the alarm.
    NoteWindow* StartWithAlarm(const std::wstring& text = L"Call the dentist\r\nabout Monday") {
        NoteData alarmed = Record({100, 100, 300, 250}, text, L"", true);
        alarmed.hasAlarm = alarmed.alarmEnabled = true;
        alarmed.alarmTime = At(NowMs() + 800);
        SeedNotes({Record({400, 100, 600, 250}, L"other"), alarmed});
        Application& a = Start();
        a.Main().SetVisible(false);
        NoteWindow* note = a.Notes()[1].get();
        EXPECT_FALSE(IsWindowVisible(note->Handle()));
        EXPECT_FALSE(note->Pulsing());
        EXPECT_FALSE(note->AlarmJustFired());
        EXPECT_EQ(a.TrayAndHotKeys().Tray().LastNotification().uFlags, 0u);
        EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(note->Handle()) != FALSE; }, 5000));
        PumpFor(50);
        return note;
    }
};

TEST_F(AlarmNoticeTest, AHiddenNotesAlarmRaisesATrayNotificationAndPulsesUntilClicked) {
    NoteWindow* note = StartWithAlarm();
    Application& a = *app;
    const NOTIFYICONDATAW& info = a.TrayAndHotKeys().Tray().LastNotification();
    EXPECT_TRUE(info.uFlags & NIF_INFO);
    EXPECT_EQ(info.hWnd, a.Main().Handle());
    EXPECT_EQ(info.uID, TrayAndKeys::kTrayIconId);
    EXPECT_STREQ(info.szInfoTitle, L"Call the dentist");
    EXPECT_STREQ(info.szInfo, L"Call the dentist");
    EXPECT_FALSE(note->HasAlarm());

    // The pulse swings the alpha between opaque and below the see-through
    // level (128 here), also while the note is not in front.
    ASSERT_TRUE(note->Pulsing());
    SetForegroundWindow(a.Notes()[0]->Handle());
    const std::set<int> swing = AlphasOver(note->Handle(), 1500);  // more than one swing
    EXPECT_GE(swing.size(), 5u);
    EXPECT_LE(*swing.begin(), 110);
    EXPECT_GE(*swing.rbegin(), 240);  // read between steps: near the top

    // A click ends it: the note settles where activation puts it and stays.
    ClickOn(note->Handle(), [&] { return !note->Pulsing(); });
    EXPECT_TRUE(PumpUntil([&] { return !note->IsFading(); }, 5000));
    const std::set<int> after = AlphasOver(note->Handle(), 300);
    EXPECT_EQ(after.size(), 1u);
    EXPECT_FALSE(note->IsFading());

    // Hidden again and another window in front: the notification's click brings it.
    note->Hide();
    PumpMessages();
    a.Main().Send(a.TrayAndHotKeys().Tray().Data().uCallbackMessage, TrayAndKeys::kTrayIconId,
                  NIN_BALLOONUSERCLICK);
    EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(note->Handle()) != FALSE; }, 5000));
    EXPECT_FALSE(note->Hidden());
    EXPECT_EQ(GetForegroundWindow(), note->Handle());
}

// Windows that cannot fade pulse with a frame around the text, drawn in the
// text colour every other half swing.
TEST_F(AlarmNoticeTest, WithoutLayeringAFrameBlinksAroundTheText) {
    SettingsStore(SettingsPath()).WriteBool(L"/Settings/LayeredWindowEnabled", false);
    NoteWindow* note = StartWithAlarm();
    ASSERT_TRUE(note->Pulsing());
    EXPECT_FALSE(note->PulseShown());  // no alpha to swing
    const RECT client = note->ClientRect();
    const SkinRect insets = app->NoteSkin().editInsets;
    // A point on the frame: just left of the text area, half way down.
    const POINT onFrame = {client.left + insets.left - 2, (client.top + client.bottom) / 2};
    const COLORREF text = app->NoteSkin().themedTextColor;
    bool sawFrame = false, sawPaper = false;
    const DWORD end = GetTickCount() + 1500;
    while (static_cast<LONG>(end - GetTickCount()) > 0) {
        PumpFor(30);
        UpdateWindow(note->Handle());
        HDC dc = GetDC(note->Handle());
        const COLORREF pixel = GetPixel(dc, onFrame.x, onFrame.y);
        ReleaseDC(note->Handle(), dc);
        if (note->PulseFrameShown())
            sawFrame = sawFrame || pixel == text;
        else
            sawPaper = sawPaper || pixel != text;
    }
    EXPECT_TRUE(sawFrame);
    EXPECT_TRUE(sawPaper);
    ClickOn(note->Handle(), [&] { return !note->Pulsing(); });
    EXPECT_FALSE(note->PulseFrameShown());
}

// Typing, hiding and closing end the pulse too; none leaves its timer behind.
TEST_F(AlarmNoticeTest, TypingOrHidingEndsThePulse) {
    NoteWindow* note = StartWithAlarm();
    ASSERT_TRUE(note->Pulsing());
    note->Send(WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_FALSE(note->Pulsing());
    EXPECT_TRUE(note->AlarmJustFired());  // the reminders stay offered

    note->Unhide(true);
    note->Send(WM_TIMER, kNotePulseTimer, 0);  // a step that was due: no pulse again
    EXPECT_FALSE(note->PulseShown());
    app.reset();
    PumpMessages();

    note = StartWithAlarm();
    ASSERT_TRUE(note->Pulsing());
    note->Hide();
    EXPECT_FALSE(note->Pulsing());
    EXPECT_FALSE(note->PulseShown());
    app.reset();
    PumpMessages();

    // The program ends while a note pulses: the note's timer goes with it.
    note = StartWithAlarm();
    ASSERT_TRUE(note->Pulsing());
    const HWND window = note->Handle();
    app.reset();
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(window); }, 5000));
}

TEST_F(AlarmNoticeTest, TheRemindersAreOfferedOnlyAfterTheAlarmFired) {
    NoteData plain = Record({100, 300, 300, 450}, L"see https://example.org/x");
    SeedNotes({plain});
    Application& a = Start();
    HMENU menu = a.NoteMenu();
    ASSERT_NE(menu, nullptr);
    const int count = GetMenuItemCount(menu);
    NoteWindow* quiet = a.Notes()[0].get();
    quiet->PrepareNoteMenu(menu);
    EXPECT_FALSE(MenuHas(menu, IDM_NOTE_REMIND_IN_10_MINUTES));
    EXPECT_FALSE(MenuHas(menu, IDM_NOTE_REMIND_TOMORROW));
    EXPECT_EQ(GetMenuItemCount(menu), count);
    app.reset();
    PumpMessages();

    NoteWindow* note = StartWithAlarm(L"Call https://example.org/dentist");
    menu = app->NoteMenu();
    note->PrepareNoteMenu(menu);
    note->FillLinksMenu(menu);
    ASSERT_EQ(GetMenuItemCount(menu), count + 3);
    EXPECT_EQ(GetMenuItemID(menu, 0), static_cast<UINT>(IDM_NOTE_REMIND_IN_10_MINUTES));
    EXPECT_EQ(GetMenuItemID(menu, 1), static_cast<UINT>(IDM_NOTE_REMIND_TOMORROW));
    wchar_t label[64] = {};
    GetMenuStringW(menu, 0, label, 64, MF_BYPOSITION);
    EXPECT_STREQ(label, L"Remind me in &10 minutes");
    GetMenuStringW(menu, 1, label, 64, MF_BYPOSITION);
    EXPECT_STREQ(label, L"Remind me &tomorrow");
    EXPECT_EQ(GetMenuState(menu, 2, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
    // The Links submenu moved down with the rest and still gets the links.
    HMENU links = GetSubMenu(menu, 20);
    ASSERT_NE(links, nullptr);
    EXPECT_EQ(GetMenuItemID(links, 0), static_cast<UINT>(IDM_FIRST_LINK));
    // Another note's menu, shown next, has none of them.
    app->Notes()[0]->PrepareNoteMenu(menu);
    EXPECT_EQ(GetMenuItemCount(menu), count);
}

TEST_F(AlarmNoticeTest, RemindInTenMinutesArmsTheAlarmTenMinutesFromNowInUtc) {
    NoteWindow* note = StartWithAlarm();
    ASSERT_TRUE(note->Pulsing());
    const int64_t before = NowMs();
    note->Send(WM_COMMAND, MAKEWPARAM(IDM_NOTE_REMIND_IN_10_MINUTES, 0), 0);
    const int64_t after = NowMs();
    EXPECT_FALSE(note->Pulsing());
    EXPECT_FALSE(note->AlarmJustFired());
    ASSERT_TRUE(note->HasAlarm());
    EXPECT_TRUE(note->AlarmEnabled());
    const int64_t at = AlarmTime::ToMilliseconds(FromSystemTime(note->AlarmTimeUtc()));
    EXPECT_GE(at, before + 600000);
    EXPECT_LE(at, after + 600000);
    const auto saved = SavedNotes();
    ASSERT_EQ(saved.size(), 2u);
    EXPECT_TRUE(saved[1].hasAlarm && saved[1].alarmEnabled);
    EXPECT_EQ(AlarmTime::ToMilliseconds(saved[1].alarmTime), at);
    // Offered no more, and a second use does nothing.
    note->PrepareNoteMenu(app->NoteMenu());
    EXPECT_FALSE(MenuHas(app->NoteMenu(), IDM_NOTE_REMIND_TOMORROW));
    note->Send(WM_COMMAND, MAKEWPARAM(IDM_NOTE_REMIND_TOMORROW, 0), 0);
    EXPECT_EQ(AlarmTime::ToMilliseconds(FromSystemTime(note->AlarmTimeUtc())), at);
}

TEST_F(AlarmNoticeTest, RemindTomorrowKeepsTheLocalClockTimeOfTheSystemZone) {
    NoteWindow* note = StartWithAlarm();
    const int64_t before = NowMs();
    note->Send(WM_COMMAND, MAKEWPARAM(IDM_NOTE_REMIND_TOMORROW, 0), 0);
    const int64_t after = NowMs();
    ASSERT_TRUE(note->HasAlarm());
    const int64_t at = AlarmTime::ToMilliseconds(FromSystemTime(note->AlarmTimeUtc()));
    // The local clock shows tomorrow's date at the same time as it did now.
    const int64_t localBefore = before + LocalZoneOffset(before);
    const int64_t localAt = at + LocalZoneOffset(at);
    const int64_t localAfter = after + LocalZoneOffset(after);
    EXPECT_GE(localAt, localBefore + 86400000);
    EXPECT_LE(localAt, localAfter + 86400000);
    EXPECT_FALSE(note->Pulsing());
}

// The system's zone rules, wired into the arithmetic (whose cases across days
// and changes of the clocks the portable tests walk), for a zone with
// daylight-saving time (Central European: +1 h, +2 h from the last Sunday of
// March 02:00 to the last Sunday of October 03:00).
TEST(LocalZoneTest, TheSystemsRulesCarryRemindTomorrowAcrossDaylightSaving) {
    TIME_ZONE_INFORMATION zone = {};
    zone.Bias = -60;
    zone.StandardDate = {0, 10, 0, 5, 3, 0, 0, 0};
    zone.DaylightDate = {0, 3, 0, 5, 2, 0, 0, 0};
    zone.DaylightBias = -60;
    const auto offset = [&](int64_t utc) { return LocalZoneOffset(utc, &zone); };
    const auto ms = [](uint16_t y, uint16_t mo, uint16_t d, uint16_t h, uint16_t mi) {
        return AlarmTime::ToMilliseconds(SystemTimeData{y, mo, 0, d, h, mi, 0, 0});
    };
    constexpr int64_t kHour = 3600000;
    EXPECT_EQ(offset(ms(2026, 3, 29, 0, 59)), kHour);
    EXPECT_EQ(offset(ms(2026, 3, 29, 1, 0)), 2 * kHour);
    EXPECT_EQ(offset(ms(2026, 10, 25, 0, 59)), 2 * kHour);
    EXPECT_EQ(offset(ms(2026, 10, 25, 1, 0)), kHour);
    // 13:00 on the Saturday before spring: 13:00 on Sunday is 11:00 UTC.
    EXPECT_EQ(
        AlarmTime::ToMilliseconds(AlarmTime::RemindTomorrow(At(ms(2026, 3, 28, 12, 0)), offset)),
        ms(2026, 3, 29, 11, 0));
}

}  // namespace
