// What a note does from its menu beyond editing: the menu's states, links,
// titles, alarms, save as and copy, with the dialogs driven through a CBT hook
// the way a user would fill and confirm them. (Which items show icons, the
// screenshots of the open menu show.)

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>

#include <cstdlib>

#include <shlobj.h>

#include "support/NoteTestHost_win.h"
#include "notes/AlarmDialog_win.h"
#include "ui/Clipboard_win.h"
#include "notes/Links_win.h"
#include "res/resource.h"
#include "store/FileIo.h"
#include "store/Folders_win.h"
#include "store/NoteData_win.h"
#include "ui/PrivateMessages_win.h"

using namespace NoteTest;

namespace {

class NoteFeaturesTest : public ::testing::Test {
protected:
    void SetUp() override {
        host.language.Load(TestPaths::SourceDir() + L"/languages/English.ini");
        bar = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_NOTE_MENU));
        ASSERT_NE(bar, nullptr);
        popup = GetSubMenu(bar, 0);
    }
    void TearDown() override { DestroyMenu(bar); }

    bool Grey(UINT id) const { return (GetMenuState(popup, id, MF_BYCOMMAND) & MF_GRAYED) != 0; }
    bool Checked(UINT id) const {
        return (GetMenuState(popup, id, MF_BYCOMMAND) & MF_CHECKED) != 0;
    }
    NoteWindow* Note(const std::wstring& text, const std::wstring& title = L"") {
        NoteData d = DataAt(60, 60, 260, 200, text);
        d.title = title;
        return host.LoadNote(d);
    }
    // Runs a note command; the dialogs it opens are handed to `act`.
    int Run(NoteWindow* note, UINT id, std::function<void(HWND)> act) {
        DialogAnswers driver({}, [&act](HWND dialog) {
            act(dialog);
            return true;
        });
        note->Send(WM_COMMAND, id);
        PumpMessages();
        return driver.Seen();
    }

    FakeHost host;
    HMENU bar = nullptr;
    HMENU popup = nullptr;
};

SYSTEMTIME PickerTime(HWND dialog, int id) {
    SYSTEMTIME t = {};
    SendDlgItemMessageW(dialog, id, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&t));
    return t;
}

// Milliseconds since 1601 of a calendar time; the time `ms` from now, in UTC.
int64_t Ms(const SYSTEMTIME& t) {
    FILETIME f;
    SystemTimeToFileTime(&t, &f);
    return static_cast<int64_t>((uint64_t{f.dwHighDateTime} << 32 | f.dwLowDateTime) / 10000);
}

SYSTEMTIME ShiftedNow(int64_t ms) {
    SYSTEMTIME now;
    GetSystemTime(&now);
    const uint64_t v = static_cast<uint64_t>(Ms(now) + ms) * 10000;
    const FILETIME f = {static_cast<DWORD>(v), static_cast<DWORD>(v >> 32)};
    FileTimeToSystemTime(&f, &now);
    return now;
}

void Confirm(HWND dialog) {
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
}

TEST_F(NoteFeaturesTest, MenuStatesAndLinksFollowTheNote) {
    NoteWindow* plain = Note(L"nothing to open");
    plain->PrepareNoteMenu(popup);
    plain->FillLinksMenu(popup);
    EXPECT_TRUE(Grey(IDM_NOTE_TITLE_REMOVE));
    EXPECT_TRUE(Grey(IDM_NOTE_ALARM_ENABLED) && !Checked(IDM_NOTE_ALARM_ENABLED));
    EXPECT_FALSE(Grey(IDM_NOTE_TITLE_CHANGE) || Grey(IDM_NOTE_ALARM_CHANGE) ||
                 Grey(IDM_NOTE_SAVE_AS) || Grey(IDM_NOTE_EMAIL_TO) || Grey(IDM_NOTE_COPY));
    HMENU links = GetSubMenu(popup, 17);
    ASSERT_EQ(GetMenuItemCount(links), 1);
    EXPECT_TRUE(GetMenuState(links, 0, MF_BYPOSITION) & MF_GRAYED);

    NoteData d = DataAt(300, 60, 500, 200, L"www.a.com and https://b.org.");
    d.title = L"Mine";
    d.hasAlarm = true;
    d.alarmTime = FromSystemTime(ShiftedNow(3600000));
    NoteWindow* rich = host.LoadNote(d);
    for (bool armed : {false, true}) {
        if (armed) rich->Send(WM_COMMAND, IDM_NOTE_ALARM_ENABLED);
        rich->PrepareNoteMenu(popup);
        EXPECT_FALSE(Grey(IDM_NOTE_TITLE_REMOVE) || Grey(IDM_NOTE_ALARM_ENABLED));
        EXPECT_EQ(armed, Checked(IDM_NOTE_ALARM_ENABLED));
        EXPECT_EQ(armed, rich->AlarmEnabled());
    }
    rich->FillLinksMenu(popup);
    ASSERT_EQ(GetMenuItemCount(links), 2);
    wchar_t text[64];
    GetMenuStringW(links, IDM_FIRST_LINK, text, 64, MF_BYCOMMAND);
    EXPECT_STREQ(text, L"https://b.org");
    GetMenuStringW(links, IDM_FIRST_LINK + 1, text, 64, MF_BYCOMMAND);
    EXPECT_STREQ(text, L"http://www.a.com");
    EXPECT_FALSE(GetMenuState(links, 0, MF_BYPOSITION) & MF_GRAYED);
}

TEST_F(NoteFeaturesTest, EditItemsAndPriorityFollowTheNote) {
    NoteWindow* note = Note(L"start");
    ASSERT_TRUE(OpenClipboard(nullptr) && EmptyClipboard() && CloseClipboard());
    note->PrepareNoteMenu(popup);
    EXPECT_TRUE(Grey(IDM_NOTE_UNDO) && Grey(IDM_NOTE_REDO) && Grey(IDM_NOTE_PASTE));
    EXPECT_TRUE(Grey(IDM_NOTE_FONT_USE_CUSTOM_DEFAULT));  // no custom default stored
    ASSERT_TRUE(CopyTextToClipboard(note->Handle(), L" more"));
    note->Send(WM_COMMAND, IDM_NOTE_PASTE);
    note->Send(WM_COMMAND, IDM_NOTE_PRIORITY_LOW);
    note->PrepareNoteMenu(popup);
    EXPECT_FALSE(Grey(IDM_NOTE_UNDO) || Grey(IDM_NOTE_PASTE));
    EXPECT_TRUE(Grey(IDM_NOTE_REDO));
    for (UINT id = IDM_NOTE_PRIORITY_VERY_HIGH; id <= IDM_NOTE_PRIORITY_VERY_LOW; ++id)
        EXPECT_EQ(id == IDM_NOTE_PRIORITY_LOW, Checked(id)) << id;
}

TEST_F(NoteFeaturesTest, LinkCommandsOpenTheListedLinkOnce) {
    NoteWindow* note = Note(L"see www.a.com and https://b.org.");
    note->FillLinksMenu(popup);
    note->Send(WM_COMMAND, IDM_FIRST_LINK + 1);
    EXPECT_EQ(host.openedLinks, std::vector<std::wstring>{L"http://www.a.com"});
    // The list is used up by the command; a stale identifier opens nothing.
    EXPECT_TRUE(note->Links().empty());
    note->Send(WM_COMMAND, IDM_FIRST_LINK);
    note->FillLinksMenu(popup);
    note->Send(WM_COMMAND, IDM_FIRST_LINK + 2);
    EXPECT_EQ(host.openedLinks.size(), 1u);
    note->Send(WM_COMMAND, IDM_FIRST_LINK);
    EXPECT_EQ(host.openedLinks.back(), L"https://b.org");

    // What reaches the shell is checked once more there (which links pass,
    // the portable test tells): no program, file or other scheme is started.
    EXPECT_FALSE(LaunchLink(L"file:///C:/windows/notepad.exe"));
}

TEST_F(NoteFeaturesTest, TitleDialogSetsKeepsAndRemovesTheTitle) {
    struct {
        const wchar_t* typed;
        UINT ending;  // IDOK, IDCANCEL, or WM_CLOSE for the close button
        const wchar_t* title;
    } cases[] = {
        {L"Groceries", IDOK, L"Groceries"},
        {L"Other", IDCANCEL, L"Groceries"},
        {L"Other", WM_CLOSE, L"Groceries"},
        {L"", IDOK, L""},
    };
    NoteWindow* note = Note(L"Shopping\r\nmilk");
    std::wstring shown = L"";
    for (const auto& c : cases) {
        const int saves = host.saves;
        bool busy = false;
        std::wstring caption, field;
        EXPECT_EQ(1, Run(note, IDM_NOTE_TITLE_CHANGE, [&](HWND dialog) {
                      busy = note->TitleDialogOpen() && !note->IsIdle();
                      caption = DialogAnswers::TextOf(dialog);
                      field = DialogAnswers::TextOf(GetDlgItem(dialog, IDC_TITLE_TEXT));
                      SetDlgItemTextW(dialog, IDC_TITLE_TEXT, c.typed);
                      if (c.ending == WM_CLOSE)
                          PostMessageW(dialog, WM_CLOSE, 0, 0);
                      else
                          PostMessageW(dialog, WM_COMMAND, c.ending, 0);
                  }));
        EXPECT_TRUE(busy);
        EXPECT_FALSE(note->TitleDialogOpen());
        EXPECT_EQ(caption, L"Note Title");
        EXPECT_EQ(field, shown);
        EXPECT_EQ(note->Title(), c.title);
        EXPECT_EQ(host.saves - saves, shown != c.title ? 1 : 0);
        shown = c.title;
    }
    host.settings.showDateInTitle = false;
    EXPECT_EQ(note->TitleText(true), L"Shopping");

    Run(note, IDM_NOTE_TITLE_CHANGE, [](HWND dialog) {
        SetDlgItemTextW(dialog, IDC_TITLE_TEXT, L"Again");
        Confirm(dialog);
    });
    EXPECT_EQ(note->TitleText(true), L"Again");
    note->Send(WM_COMMAND, IDM_NOTE_TITLE_REMOVE);
    EXPECT_EQ(note->Title(), L"");
}

TEST_F(NoteFeaturesTest, TwoTitleDialogsOpenAtOnceKeepTheirOwnTitles) {
    NoteWindow* first = Note(L"first", L"one");
    NoteWindow* second = Note(L"second", L"two");
    std::vector<std::wstring> shown;
    DialogAnswers driver({}, [&](HWND dialog) {
        shown.push_back(DialogAnswers::TextOf(GetDlgItem(dialog, IDC_TITLE_TEXT)));
        const bool ofFirst = GetWindow(dialog, GW_OWNER) == first->Handle();
        SetDlgItemTextW(dialog, IDC_TITLE_TEXT, ofFirst ? L"First's" : L"Second's");
        // The first dialog opens the second note's dialog before it is confirmed.
        if (ofFirst) second->Post(WM_COMMAND, IDM_NOTE_TITLE_CHANGE);
        Confirm(dialog);
        return true;
    });
    first->Send(WM_COMMAND, IDM_NOTE_TITLE_CHANGE);
    PumpMessages();
    EXPECT_EQ(driver.Seen(), 2);
    EXPECT_EQ(shown, (std::vector<std::wstring>{L"one", L"two"}));
    EXPECT_EQ(first->Title(), L"First's");
    EXPECT_EQ(second->Title(), L"Second's");
}

TEST_F(NoteFeaturesTest, AlarmDialogShowsLocalTimeAndTheNoteKeepsUtc) {
    TIME_ZONE_INFORMATION zone;
    GetTimeZoneInformation(&zone);
    EXPECT_NE(zone.Bias, 0) << "run with a local time other than UTC (TZ, as CTest sets it)";
    NoteWindow* note = Note(L"call the dentist");
    SYSTEMTIME shownDate = {}, shownTime = {};
    SYSTEMTIME wanted = {2031, 5, 0, 6, 7, 8, 9, 0};  // local 2031-05-06 07:08:09
    EXPECT_EQ(1, Run(note, IDM_NOTE_ALARM_CHANGE, [&](HWND dialog) {
                  shownDate = PickerTime(dialog, IDC_ALARM_DATE);
                  shownTime = PickerTime(dialog, IDC_ALARM_TIME);
                  for (int id : {IDC_ALARM_DATE, IDC_ALARM_TIME}) {
                      SendDlgItemMessageW(dialog, id, DTM_SETSYSTEMTIME, GDT_VALID,
                                          reinterpret_cast<LPARAM>(&wanted));
                  }
                  Confirm(dialog);
              }));
    // Without an alarm the dialog starts at the next full quarter hour, in local time.
    SYSTEMTIME localNow;
    UtcToLocal(ShiftedNow(0), localNow);
    shownTime.wYear = shownDate.wYear, shownTime.wMonth = shownDate.wMonth;
    shownTime.wDay = shownDate.wDay;
    EXPECT_EQ(shownTime.wMinute % 15, 0);
    EXPECT_EQ(shownTime.wSecond, 0);
    EXPECT_GT(Ms(shownTime) - Ms(localNow), -1000);
    EXPECT_LE(Ms(shownTime) - Ms(localNow), 15 * 60000);

    SYSTEMTIME utc;
    ASSERT_TRUE(LocalToUtc(wanted, utc));
    EXPECT_TRUE(note->HasAlarm() && note->AlarmEnabled());
    EXPECT_EQ(Ms(note->AlarmTimeUtc()), Ms(utc));
    EXPECT_EQ(note->Data().alarmTime.wHour, utc.wHour);

    // Opened again, it shows the stored time in local time; Cancel keeps it.
    SYSTEMTIME again = {};
    Run(note, IDM_NOTE_ALARM_CHANGE, [&](HWND dialog) {
        again = PickerTime(dialog, IDC_ALARM_TIME);
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(again.wHour, 7);
    EXPECT_EQ(again.wMinute, 8);
    EXPECT_EQ(Ms(note->AlarmTimeUtc()), Ms(utc));

    // Switched off and on, the time stays.
    note->Send(WM_COMMAND, IDM_NOTE_ALARM_ENABLED);
    EXPECT_TRUE(note->HasAlarm() && !note->AlarmEnabled());
    note->Send(WM_COMMAND, IDM_NOTE_ALARM_ENABLED);
    EXPECT_TRUE(note->AlarmEnabled());
    EXPECT_EQ(Ms(note->AlarmTimeUtc()), Ms(utc));
}

TEST_F(NoteFeaturesTest, AlarmFallingDueBringsTheNoteForwardOnTopEvenWhenHidden) {
    struct {
        bool hiddenByNote;  // the note's own Hide
        bool hiddenByShow;  // the show-or-hide command hid every note
        bool onTop;
    } cases[] = {{false, false, false}, {true, false, false}, {false, true, true}};
    for (const auto& c : cases) {
        NoteData d = DataAt(60, 60, 260, 200, L"due");
        d.hidden = c.hiddenByNote;
        d.alwaysOnTop = c.onTop;
        d.hasAlarm = d.alarmEnabled = true;
        d.alarmTime = FromSystemTime(ShiftedNow(-1000));
        NoteWindow* note = host.LoadNote(d);
        if (c.hiddenByShow) ShowWindow(note->Handle(), SW_HIDE);
        note->Send(WM_TIMER, kNoteAlarmTimer);
        EXPECT_TRUE(IsWindowVisible(note->Handle()));
        EXPECT_FALSE(note->Hidden() || note->HasAlarm() || note->AlarmEnabled());
        EXPECT_TRUE(note->AlwaysOnTop());
        EXPECT_TRUE(GetWindowLongPtrW(note->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
        EXPECT_FALSE(note->Data().hasAlarm);
        note->PrepareNoteMenu(popup);
        EXPECT_TRUE(Grey(IDM_NOTE_ALARM_ENABLED) && !Checked(IDM_NOTE_ALARM_ENABLED));
        host.CloseNote(*note);
        PumpMessages();
    }

    // Not yet due: nothing happens. Due in a moment: it fires on its own,
    // within a few seconds rather than at the next full minute.
    NoteData d = DataAt(60, 60, 260, 200, L"soon");
    d.hidden = true;
    d.hasAlarm = d.alarmEnabled = true;
    d.alarmTime = FromSystemTime(ShiftedNow(1500));
    NoteWindow* note = host.LoadNote(d);
    note->Send(WM_TIMER, kNoteAlarmTimer);
    EXPECT_TRUE(note->Hidden() && note->AlarmEnabled());
    EXPECT_TRUE(PumpUntil([note] { return !note->AlarmEnabled(); }, 5000));
    EXPECT_TRUE(IsWindowVisible(note->Handle()));
}

TEST_F(NoteFeaturesTest, SaveAsWritesEveryCharacterAndSaysWhenItCannot) {
    const std::wstring dir = TestPaths::MakeScratchDir();
    struct {
        std::wstring text, file;
        std::string bytes;  // empty: the file must not be there
        int dialogs;        // the save dialog, and the message when it failed
    } cases[] = {
        {L"a\r\nb", dir + L"plain.txt", "a\r\nb", 1},
        {L"5 \x20AC", dir + L"euro.txt",
         "\xEF\xBB\xBF"
         "5 \xE2\x82\xAC",
         1},
        {L"x", dir + L"missing\\no.txt", "", 2},
    };
    for (const auto& c : cases) {
        NoteWindow* note = Note(c.text);
        DialogAnswers answers({{IDOK, c.file}});
        note->Send(WM_COMMAND, IDM_NOTE_SAVE_AS);
        PumpMessages();
        EXPECT_EQ(c.dialogs, answers.Seen()) << TestPaths::Narrow(c.file);
        const std::wstring told = answers.Texts().size() == 2 ? answers.Texts()[1] : L"";
        std::string bytes;
        EXPECT_EQ(!c.bytes.empty(), FileIo::ReadFile(c.file, bytes));
        EXPECT_EQ(bytes, c.bytes);
        EXPECT_EQ(c.dialogs == 2, told.find(c.file) != std::wstring::npos)
            << TestPaths::Narrow(told);
        EXPECT_TRUE(host.Alive(note));
    }
}

// Save As opens in the Documents folder with the note's title or first line
// as a safe name, and then in the folder last saved to. The dialog settles on
// its folder after it first shows, so it is read a moment later.
struct SaveDialogSeen {
    std::vector<std::wstring> names, folders;
    std::wstring answer;  // a full path to save to; empty: cancel
    HWND dialog = nullptr;
};
SaveDialogSeen* saveDialogSeen = nullptr;

void CALLBACK ReadSaveDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    SaveDialogSeen& seen = *saveDialogSeen;
    wchar_t text[MAX_PATH] = {};
    GetWindowTextW(GetDlgItem(seen.dialog, 1148), text, MAX_PATH);
    seen.names.push_back(text);
    wchar_t folder[MAX_PATH] = {};
    SendMessageW(seen.dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder));
    seen.folders.push_back(folder);
    if (!seen.answer.empty())
        SendMessageW(GetDlgItem(seen.dialog, 1148), WM_SETTEXT, 0,
                     reinterpret_cast<LPARAM>(seen.answer.c_str()));
    PostMessageW(seen.dialog, WM_COMMAND, seen.answer.empty() ? IDCANCEL : IDOK, 0);
    seen.answer.clear();
}

TEST_F(NoteFeaturesTest, SaveAsSuggestsASafeNameInDocumentsThenTheLastFolder) {
    wchar_t documents[MAX_PATH] = {};
    ASSERT_EQ(S_OK, SHGetFolderPathW(nullptr, CSIDL_PERSONAL | CSIDL_FLAG_CREATE, nullptr,
                                     SHGFP_TYPE_CURRENT, documents));
    const std::wstring dir = TestPaths::MakeScratchDir();
    RememberSaveDialogFolder(L"");  // as at the program's start
    SaveDialogSeen seen;
    saveDialogSeen = &seen;
    DialogAnswers answers({}, [&seen](HWND dialog) {
        seen.dialog = dialog;
        SetTimer(nullptr, 0, 300, &ReadSaveDialog);
        return true;
    });
    seen.answer = dir + L"first.txt";
    Note(L"Q3: plan/budget?\r\nsecond line")->Send(WM_COMMAND, IDM_NOTE_SAVE_AS);
    PumpMessages();
    Note(L"body", L"con")->Send(WM_COMMAND, IDM_NOTE_SAVE_AS);
    PumpMessages();
    saveDialogSeen = nullptr;
    ASSERT_EQ(2u, seen.names.size());
    EXPECT_EQ(L"Q3 plan budget.txt", seen.names[0]);
    EXPECT_EQ(L"_con.txt", seen.names[1]);
    EXPECT_EQ(0, lstrcmpiW(documents, seen.folders[0].c_str()))
        << TestPaths::Narrow(seen.folders[0]);
    std::wstring last = dir.substr(0, dir.size() - 1);  // without its final backslash
    EXPECT_EQ(0, lstrcmpiW(last.c_str(), seen.folders[1].c_str()))
        << TestPaths::Narrow(seen.folders[1]);
    std::string bytes;
    EXPECT_TRUE(FileIo::ReadFile(dir + L"first.txt", bytes));
}

TEST_F(NoteFeaturesTest, CopyPutsTheWholeTextOnTheClipboard) {
    for (const wchar_t* text : {L"", L"line\r\n\x20AC"}) {
        NoteWindow* note = Note(text);
        ASSERT_TRUE(CopyTextToClipboard(note->Handle(), L"before"));
        note->Send(WM_COMMAND, IDM_NOTE_COPY);
        std::wstring read;
        EXPECT_TRUE(ReadClipboardText(note->Handle(), read));
        EXPECT_EQ(read, text);
    }
}

}  // namespace
