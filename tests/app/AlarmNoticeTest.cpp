// An alarm that fires while its note is hidden and the program sits in the tray:
// the note comes forward, and the tray icon raises a notification whose click
// brings the note again.

#include <windows.h>
#include <shellapi.h>

#include "ApplicationFixture.h"
#include "notes/NoteWindow_win.h"
#include "store/NoteData_win.h"

namespace {

class AlarmNoticeTest : public ApplicationFixture {};

TEST_F(AlarmNoticeTest, AHiddenNotesAlarmRaisesATrayNotification) {
    SYSTEMTIME now;
    GetSystemTime(&now);
    FILETIME file;
    SystemTimeToFileTime(&now, &file);
    ULARGE_INTEGER at = {{file.dwLowDateTime, file.dwHighDateTime}};
    at.QuadPart += 8000000;  // 0.8 s ahead
    file = {at.LowPart, at.HighPart};
    SYSTEMTIME due;
    FileTimeToSystemTime(&file, &due);
    NoteData alarmed = Record({100, 100, 300, 250}, L"Call the dentist\r\nabout Monday", L"", true);
    alarmed.hasAlarm = alarmed.alarmEnabled = true;
    alarmed.alarmTime = FromSystemTime(due);
    SeedNotes({Record({400, 100, 600, 250}, L"other"), alarmed});
    Application& a = Start();
    a.SetMainWindowVisible(false);
    NoteWindow* note = a.Notes()[1].get();
    ASSERT_FALSE(IsWindowVisible(note->Handle()));
    EXPECT_EQ(a.Tray().LastNotification().uFlags, 0u);

    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(note->Handle()) != FALSE; }, 5000));
    PumpFor(50);
    const NOTIFYICONDATAW& info = a.Tray().LastNotification();
    EXPECT_TRUE(info.uFlags & NIF_INFO);
    EXPECT_EQ(info.hWnd, a.Handle());
    EXPECT_EQ(info.uID, Application::kTrayIconId);
    EXPECT_STREQ(info.szInfoTitle, L"Call the dentist");
    EXPECT_STREQ(info.szInfo, L"Call the dentist");
    EXPECT_FALSE(note->HasAlarm());

    // Hidden again and another window in front: the notification's click brings it.
    note->Hide();
    PumpFor(30);
    a.Send(a.Tray().Data().uCallbackMessage, Application::kTrayIconId, NIN_BALLOONUSERCLICK);
    PumpFor(50);
    EXPECT_TRUE(IsWindowVisible(note->Handle()));
    EXPECT_FALSE(note->Hidden());
    EXPECT_EQ(GetForegroundWindow(), note->Handle());
}

}  // namespace
