#include "app/ScriptCommand.h"

#include <gtest/gtest.h>

#include <memory>

#include "support/TestPaths.h"

namespace {

TEST(ScriptCommand, ArgumentsSplitAsTheRuntimeSplitsThem) {
    using Args = std::vector<std::wstring>;
    const struct {
        const wchar_t* line;
        Args arguments;
    } cases[] = {
        {L"  /new   \"two  words\"\tx ", {L"/new", L"two  words", L"x"}},
        {L"a\"b c\"d", {L"ab cd"}},
        {L"\"C:\\My Notes\\\\\" next", {L"C:\\My Notes\\", L"next"}},  // 2n: n and a quote
        {L"say \\\"hi\\\"", {L"say", L"\"hi\""}},                      // 2n+1: a literal quote
        {L"C:\\a\\b", {L"C:\\a\\b"}},                                  // lone backslashes stay
        {L"\"a \"\"quoted\"\" word\"", {L"a \"quoted\" word"}},
        {L"\"\" x", {L"", L"x"}},
        {L"\"unterminated text", {L"unterminated text"}},
        {L"", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitArguments(c.line), c.arguments) << TestPaths::Narrow(c.line);
}

TEST(ScriptCommand, SwitchesAndTheirArguments) {
    const struct {
        const wchar_t* line;
        ScriptAction action;
        const wchar_t* argument;
    } cases[] = {
        {L"/new \"Buy milk\"", ScriptAction::NewNote, L"Buy milk"},
        {L"/NEW Buy milk", ScriptAction::NewNote, L"Buy milk"},  // joined by one space
        {L"-new \"it's \\\"quoted\\\"\"", ScriptAction::NewNote, L"it's \"quoted\""},
        {L"/new", ScriptAction::NewNote, L""},
        {L"/new-from-clipboard", ScriptAction::NewNoteFromClipboard, L""},
        {L"/show", ScriptAction::ShowNotes, L""},
        {L"/Hide", ScriptAction::HideNotes, L""},
        {L"/toggle", ScriptAction::ToggleNotes, L""},
        {L"/find \"caf\u00E9 menu\"", ScriptAction::FindNotes, L"caf\u00E9 menu"},
        {L"/find", ScriptAction::FindNotes, L""},
        {L"/export \"C:\\Out Folder\\notes.txt\"", ScriptAction::ExportNotes,
         L"C:\\Out Folder\\notes.txt"},
        {L"/export", ScriptAction::Usage, L""},  // no file to write
        {L"/?", ScriptAction::Usage, L""},
        {L"/frobnicate x", ScriptAction::Usage, L""},
        {L"/newx", ScriptAction::Usage, L""},
        // No switch: the old meaning, quotes and apostrophes removed from the whole line.
        {L"\"C:\\My Notes\\list.txt\"", ScriptAction::OpenFile, L"C:\\My Notes\\list.txt"},
        {L"  it's.txt", ScriptAction::OpenFile, L"  its.txt"},
        {L"   ", ScriptAction::None, L""},
    };
    for (const auto& c : cases) {
        const ScriptCommand command = ParseScriptCommand(c.line);
        EXPECT_EQ(command.action, c.action) << TestPaths::Narrow(c.line);
        EXPECT_EQ(command.argument, c.argument) << TestPaths::Narrow(c.line);
    }
    EXPECT_EQ(ParseScriptCommand(nullptr).action, ScriptAction::None);
}

// Each payload is copied into a heap block of exactly its size, so that reading
// past it is caught by the sanitizers.
bool Decode(const std::vector<unsigned char>& bytes, ScriptCommand& command) {
    std::unique_ptr<unsigned char[]> block(new unsigned char[bytes.size() + 1]);
    std::copy(bytes.begin(), bytes.end(), block.get());
    return DecodeScriptPayload(block.get(), bytes.size(), command);
}

TEST(ScriptCommand, PayloadsRoundTripAndForeignOnesAreRefused) {
    for (const ScriptCommand& sent :
         {ScriptCommand{ScriptAction::NewNote, L"line 1\r\nline 2 \xD83D\xDE00"},
          ScriptCommand{ScriptAction::ToggleNotes, L""},
          ScriptCommand{ScriptAction::ExportNotes, std::wstring(kMaxScriptArgumentUnits, L'x')}}) {
        const std::vector<unsigned char> bytes = EncodeScriptPayload(sent);
        EXPECT_EQ(bytes.size(), (sent.argument.size() + 2) * 2);
        ScriptCommand got;
        ASSERT_TRUE(Decode(bytes, got));
        EXPECT_EQ(got.action, sent.action);
        EXPECT_EQ(got.argument, sent.argument);
    }
    EXPECT_TRUE(EncodeScriptPayload(
                    {ScriptAction::NewNote, std::wstring(kMaxScriptArgumentUnits + 1, L'x')})
                    .empty());

    using Bytes = std::vector<unsigned char>;
    const Bytes refused[] = {
        {},
        {2, 0},                      // no terminator room
        {2, 0, 'a', 0},              // no terminator
        {2, 0, 'a', 0, 0},           // odd size
        {2, 0, 0, 0, 'a', 0, 0, 0},  // a zero before the end
        {1, 0, 'a', 0, 0, 0},        // a file path goes by the other hand-over
        {0, 0, 0, 0},
        {10, 0, 0, 0},  // beyond the last action
        {2, 1, 0, 0},   // an action in the upper byte
    };
    for (const Bytes& bytes : refused) {
        ScriptCommand got{ScriptAction::ShowNotes, L"kept"};
        EXPECT_FALSE(Decode(bytes, got)) << bytes.size();
        EXPECT_EQ(got.argument, L"kept");
    }
    Bytes tooLong(static_cast<size_t>(kMaxScriptArgumentUnits + 3) * 2, 'x');
    tooLong[0] = 2, tooLong[1] = 0;
    tooLong[tooLong.size() - 1] = tooLong[tooLong.size() - 2] = 0;
    ScriptCommand got;
    EXPECT_FALSE(Decode(tooLong, got));
    EXPECT_FALSE(DecodeScriptPayload(nullptr, 8, got));
}

}  // namespace

TEST(ScriptCommand, OnlyTheExportPathIsMadeFull) {
    const std::wstring start = L"C:\\work";
    EXPECT_EQ(L"C:\\work\\out.txt",
              WithFullPaths({ScriptAction::ExportNotes, L"out.txt"}, start).argument);
    // A note's text or a search is no path, however it looks.
    EXPECT_EQ(L"out.txt", WithFullPaths({ScriptAction::NewNote, L"out.txt"}, start).argument);
    EXPECT_EQ(L"..\\a", WithFullPaths({ScriptAction::FindNotes, L"..\\a"}, start).argument);
}
