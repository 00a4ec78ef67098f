// Taking one deleted note back from the recycle bin through the main menu: the
// list newest first, the note made again and saved before its text leaves the
// bin, and a bin that changed or cannot be written meanwhile.

#include <string>
#include <vector>

#include "ApplicationFixture.h"
#include "notes/NoteWindow_win.h"
#include "res/resource.h"
#include "store/RecycleBin.h"
#include "store/TextCodec.h"
#include "support/DialogAnswers_win.h"

namespace {

std::string BinBytes(const std::vector<std::wstring>& texts) {
    std::string bytes;
    for (const auto& t : texts) bytes += TextCodec::ToUtf16Le(t + RecycleBin::Separator());
    return bytes;
}

// Another program holding the file open: it lets others read and write it
// (an editor does), or nothing at all; never replace it.
struct Lock {
    HANDLE file;
    explicit Lock(const std::wstring& path, DWORD share = 0)
        : file(CreateFileW(path.c_str(), GENERIC_READ, share, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~Lock() {
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    }
};

class RestoreNoteTest : public ApplicationFixture {
protected:
    // Answers the restore dialog: keeps its items and whether OK could be
    // pressed, runs `meanwhile`, then chooses item `pick` (or cancels when -1).
    bool Answer(HWND dialog) {
        HWND list = GetDlgItem(dialog, IDC_DELETED_NOTE_LIST);
        if (!list) return false;
        wchar_t item[2048] = {};
        const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(item));
            items.push_back(item);
        }
        okEnabled = IsWindowEnabled(GetDlgItem(dialog, IDOK)) != FALSE;
        if (meanwhile) meanwhile();
        SendMessageW(list, LB_SETCURSEL, pick, 0);
        PostMessageW(dialog, WM_COMMAND, pick < 0 ? IDCANCEL : IDOK, 0);
        return true;
    }
    std::string Bin() const {
        std::string bytes = "unread";
        FileIo::ReadFile(app->RecycleBinPath(), bytes);
        return bytes;
    }
    void Restore() {
        app->Send(WM_COMMAND, IDM_RECYCLE_BIN_RESTORE, 0);
        PumpMessages();
    }

    std::vector<std::wstring> items;
    bool okEnabled = false;
    int pick = 0;
    std::function<void()> meanwhile;
    DialogAnswers answers{{}, [this](HWND dialog) { return Answer(dialog); }};
};

const std::wstring kEquals(75, L'=');

TEST_F(RestoreNoteTest, TheChosenNoteComesBackAndLeavesTheBin) {
    SeedNotes({Record({100, 100, 300, 250}, L"kept")});
    Application& a = Start();
    // Underlined with a line of equals signs as long as the bin's own.
    const std::wstring second = L"\r\n  second note\r\n" + kEquals;
    ASSERT_TRUE(FileIo::WriteFileAtomically(a.RecycleBinPath(),
                                            BinBytes({L"oldest", second, L"newest \xD83D\xDE00"})));

    pick = 1;
    Restore();
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0], L"newest \xD83D\xDE00  (8 characters)");
    EXPECT_EQ(items[1], L"second note  (" + std::to_wstring(second.size()) + L" characters)");
    EXPECT_EQ(items[2], L"oldest  (6 characters)");

    ASSERT_EQ(a.Notes().size(), 2u);
    EXPECT_EQ(a.Notes()[1]->Data().text, second);
    EXPECT_TRUE(IsWindowVisible(a.Notes()[1]->Handle()));
    ASSERT_EQ(SavedNotes().size(), 2u);
    EXPECT_EQ(SavedNotes()[1].text, second);
    EXPECT_EQ(Bin(), BinBytes({L"oldest", L"newest \xD83D\xDE00"}));
    EXPECT_TRUE(answers.Texts().empty());

    // Cancel changes nothing; an empty bin offers nothing to restore.
    pick = -1;
    items.clear();
    Restore();
    EXPECT_EQ(items.size(), 2u);
    EXPECT_EQ(a.Notes().size(), 2u);
    ASSERT_TRUE(RecycleBin::EmptyRecycleBin(a.RecycleBinPath()));
    items.clear();
    Restore();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0], L"The recycle bin holds no deleted notes.");
    EXPECT_FALSE(okEnabled);
    EXPECT_EQ(a.Notes().size(), 2u);
}

TEST_F(RestoreNoteTest, ABinChangedOrLockedMeanwhileKeepsTheText) {
    Application& a = Start();
    const std::wstring bin = a.RecycleBinPath();
    ASSERT_TRUE(FileIo::WriteFileAtomically(bin, BinBytes({L"one", L"two"})));

    // Edited in the editor while the list was open: the user is asked to choose again.
    meanwhile = [&] { FileIo::WriteFileAtomically(bin, BinBytes({L"zero", L"one", L"two"})); };
    answers.SetUnqueued(IDOK);
    Restore();
    EXPECT_TRUE(a.Notes().empty());
    ASSERT_EQ(answers.Texts().size(), 1u);
    EXPECT_NE(answers.Texts()[0].find(L"changed"), std::wstring::npos);
    EXPECT_EQ(Bin(), BinBytes({L"zero", L"one", L"two"}));

    // Held open by another program: the note is back and the text stays in the bin too.
    meanwhile = nullptr;
    answers.Clear();
    {
        Lock lock(bin, FILE_SHARE_READ | FILE_SHARE_WRITE);
        Restore();
    }
    ASSERT_EQ(a.Notes().size(), 1u);
    EXPECT_EQ(a.Notes()[0]->Data().text, L"two");
    ASSERT_EQ(answers.Texts().size(), 1u);
    EXPECT_NE(answers.Texts()[0].find(bin), std::wstring::npos);
    EXPECT_EQ(Bin(), BinBytes({L"zero", L"one", L"two"}));

    // Notes.dat cannot take the note: the bin keeps its only copy on the disk.
    answers.Clear();
    {
        Lock lock(NotesPath());
        Restore();
    }
    ASSERT_EQ(a.Notes().size(), 2u);
    EXPECT_EQ(a.Notes()[1]->Data().text, L"two");
    EXPECT_EQ(Bin(), BinBytes({L"zero", L"one", L"two"}));
}

}  // namespace
