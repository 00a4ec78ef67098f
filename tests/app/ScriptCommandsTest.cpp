// The command line for scripts handed to a running instance: each switch sent
// to the main window as a second start sends it, and payloads that another
// process could send but the program must refuse.

#include <string>

#include "ApplicationFixture.h"
#include "app/ScriptCommands_win.h"
#include "app/SingleInstance_win.h"
#include "main/FindNotes_win.h"
#include "notes/NoteWindow_win.h"
#include "store/TextFile.h"
#include "support/DialogAnswers_win.h"
#include "ui/Clipboard_win.h"

namespace {

class ScriptCommandsTest : public ApplicationFixture {
protected:
    bool Send(ScriptAction action, const std::wstring& argument = L"") {
        const bool taken = SendScriptCommand(app->Main().Handle(), {action, argument});
        PumpMessages();
        return taken;
    }
    bool NoteShown(size_t i) { return IsWindowVisible(app->Notes()[i]->Handle()) != FALSE; }
};

TEST_F(ScriptCommandsTest, EachSwitchActsOnTheRunningInstance) {
    SeedNotes({Record({100, 100, 300, 250}, L"kept note")});
    Application& a = Start();
    DialogAnswers answers;

    ASSERT_TRUE(Send(ScriptAction::NewNote, L"from a script\r\nsecond line"));
    ASSERT_EQ(a.Notes().size(), 2u);
    EXPECT_EQ(a.Notes()[1]->Data().text, L"from a script\r\nsecond line");
    EXPECT_EQ(SavedNotes().size(), 2u);

    ASSERT_TRUE(CopyTextToClipboard(a.Main().Handle(), L"clipped"));
    Send(ScriptAction::NewNoteFromClipboard);
    ASSERT_EQ(a.Notes().size(), 3u);
    EXPECT_EQ(a.Notes()[2]->Data().text, L"clipped");

    Send(ScriptAction::HideNotes);
    EXPECT_FALSE(a.NotesShown());
    EXPECT_FALSE(NoteShown(0));
    Send(ScriptAction::HideNotes);  // stays hidden
    EXPECT_FALSE(a.NotesShown());
    Send(ScriptAction::ShowNotes);
    EXPECT_TRUE(a.NotesShown());
    EXPECT_TRUE(NoteShown(0));
    Send(ScriptAction::ToggleNotes);
    EXPECT_FALSE(a.NotesShown());
    // A new note while the notes are hidden shows them first.
    Send(ScriptAction::NewNote, L"while hidden");
    EXPECT_TRUE(a.NotesShown());
    EXPECT_EQ(a.Notes().size(), 4u);

    Send(ScriptAction::FindNotes, L"SCRIPT second");
    ASSERT_NE(a.FindNotes(), nullptr);
    ASSERT_NE(a.FindNotes()->Handle(), nullptr);
    ASSERT_EQ(a.FindNotes()->Shown().size(), 1u);
    EXPECT_EQ(a.FindNotes()->CellText(0, 0), L"from a script");

    const std::wstring exported = data + L"export folder\\";
    ASSERT_TRUE(CreateDirectoryW(exported.c_str(), nullptr));
    Send(ScriptAction::ExportNotes, exported + L"all.txt");
    std::string bytes;
    ASSERT_TRUE(FileIo::ReadFile(exported + L"all.txt", bytes));
    EXPECT_NE(bytes.find("kept note"), std::string::npos);
    EXPECT_NE(bytes.find("while hidden"), std::string::npos);
    EXPECT_TRUE(answers.Texts().empty());
    // A file that cannot be written is told.
    Send(ScriptAction::ExportNotes, data + L"no such folder\\all.txt");
    ASSERT_EQ(answers.Texts().size(), 1u);

    Send(ScriptAction::Usage);
    ASSERT_EQ(answers.Texts().size(), 2u);
    EXPECT_NE(answers.Texts()[1].find(L"/new-from-clipboard"), std::wstring::npos);
}

TEST_F(ScriptCommandsTest, RefusedPayloadsChangeNothing) {
    Application& a = Start();
    const auto sendRaw = [&](ULONG_PTR kind, std::vector<unsigned char> payload) {
        COPYDATASTRUCT data = {kind, static_cast<DWORD>(payload.size()), payload.data()};
        a.Main().Send(WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
        PumpMessages();
    };
    // Too long for a hand-over: not even sent.
    EXPECT_FALSE(SendScriptCommand(
        a.Main().Handle(),
        {ScriptAction::NewNote, std::wstring(kMaxScriptArgumentUnits + 1, L'x')}));
    std::vector<unsigned char> tooLong((kMaxScriptArgumentUnits + 3) * 2, 'x');
    tooLong[0] = 2, tooLong[1] = 0, tooLong[tooLong.size() - 2] = tooLong.back() = 0;
    // (Which payloads are refused is the portable test's; one reaches the window.)
    sendRaw(kScriptCommandMarker, tooLong);
    EXPECT_TRUE(a.Notes().empty());
    // The longest argument that is handed over arrives whole (words of eight
    // letters, so that the note's layout is not what the test waits for).
    std::wstring longest;
    while (longest.size() < kMaxScriptArgumentUnits) longest += L"yyyyyyy ";
    longest.resize(kMaxScriptArgumentUnits);
    longest.back() = L'z';
    ASSERT_TRUE(SendScriptCommand(a.Main().Handle(), {ScriptAction::NewNote, longest}));
    PumpMessages();
    ASSERT_EQ(a.Notes().size(), 1u);
    EXPECT_EQ(a.Notes()[0]->Data().text, longest);
}

}  // namespace
