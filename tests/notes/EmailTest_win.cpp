// E-mailing a note through a stand-in mail library (FakeMapi_win.cpp, loaded as
// mapi32.dll with WINEDLLOVERRIDES=mapi32=n,b): what reaches the mail program,
// the attachment's bytes, its removal, and what the user is told when there is
// no mail program or it fails.

#include <gtest/gtest.h>

#include <map>

#include "support/NoteTestHost_win.h"
#include "notes/Email_win.h"
#include "res/resource.h"
#include "store/FileIo.h"
#include "store/TextCodec.h"

using namespace NoteTest;

namespace {

std::wstring ExeFolder() {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring s = path;
    return s.substr(0, s.find_last_of(L"\\/") + 1);
}

using Record = std::map<std::string, std::string>;

std::string Unhex(const std::string& hex) {
    std::string out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        out += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return out;
}

class EmailTest : public ::testing::Test {
protected:
    void SetUp() override {
        recordPath = TestPaths::MakeScratchDir() + L"record.txt";
        SetEnvironmentVariableW(L"VN_FAKE_MAPI_RECORD", recordPath.c_str());
        Use(L"full");
    }
    void TearDown() override {
        for (const wchar_t* name :
             {L"VN_FAKE_MAPI_RECORD", L"VN_FAKE_MAPI_LOGON", L"VN_FAKE_MAPI_SEND"})
            SetEnvironmentVariableW(name, nullptr);
        SetDllDirectoryW(nullptr);
        OverrideMailLibrary(std::wstring());
    }
    static std::wstring Variant(const wchar_t* variant) {
        return ExeFolder() + L"fakemapi\\" + variant + L"\\mapi32.dll";
    }
    // The variant of the stand-in library that an e-mail loads.
    static void Use(const wchar_t* variant) { OverrideMailLibrary(Variant(variant)); }
    Record Recorded() const {
        std::string bytes;
        Record fields;
        if (!FileIo::ReadFile(recordPath, bytes)) return fields;
        size_t at = 0;
        while (at < bytes.size()) {
            const size_t end = bytes.find('\n', at);
            const std::string line = bytes.substr(at, end - at);
            const size_t eq = line.find('=');
            if (eq != std::string::npos) fields[line.substr(0, eq)] = Unhex(line.substr(eq + 1));
            if (end == std::string::npos) break;
            at = end + 1;
        }
        return fields;
    }
    EmailJob Job(const std::wstring& text) const {
        EmailJob job;
        job.attachmentPath = WriteEmailAttachment(text);
        job.body = Email::Body(L"Hello\r\n", text, L"\r\nBye");
        job.noMailProgramText = L"no mail program";
        job.failedText = L"mail failed";
        job.caption = L"Vellomar Notes 3";
        return job;
    }
    // Sends on this thread, answering (and noting) a message box it shows.
    EmailResult Send(const EmailJob& job, std::wstring& told) {
        DialogAnswers boxes;
        const EmailResult result = SendNoteByEmail(job);
        if (!boxes.Texts().empty()) told = boxes.Texts().back();
        return result;
    }

    std::wstring recordPath;
};

const std::wstring kText = L"Caf\xE9 \x20AC 5\r\n\x041F\x0440\x0438\x0432\x0435\x0442";

TEST_F(EmailTest, MailProgramGetsSubjectBodyAndAttachmentWhichIsRemovedAfterwards) {
    const EmailJob job = Job(kText);
    const EmailJob other = Job(L"x");
    // Each e-mail has a file of its own in the temporary folder.
    ASSERT_FALSE(job.attachmentPath.empty());
    EXPECT_NE(job.attachmentPath, other.attachmentPath);
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    EXPECT_EQ(job.attachmentPath.rfind(temp, 0), 0u);

    std::wstring told;
    EXPECT_EQ(Send(job, told), EmailResult::Handed);
    EXPECT_EQ(told, L"");
    const Record r = Recorded();
    EXPECT_EQ(r.at("api"), "W");
    EXPECT_EQ(r.at("subject"), "Vellomar Note");
    EXPECT_EQ(TextCodec::FromUtf8(r.at("body")), L"Hello\r\n" + kText + L"\r\nBye");
    EXPECT_EQ(r.at("name"), "Note.zne");
    EXPECT_EQ(r.at("attachment"), "\xEF\xBB\xBF" + TextCodec::ToUtf8(kText));
    EXPECT_EQ(r.at("position"), std::to_string(0xFFFFFFFFu));
    EXPECT_EQ(r.at("flags"), "8");  // the mail program's own window
    EXPECT_EQ(r.at("files"), "1");
    EXPECT_EQ(r.at("recipients"), "0");
    EXPECT_FALSE(FileIo::FileExists(job.attachmentPath));
    SendNoteByEmail(other);
}

TEST_F(EmailTest, WithoutTheWideEntryTheTextGoesInTheSystemCodePage) {
    Use(L"narrow");
    const EmailJob job = Job(kText);
    std::wstring told;
    EXPECT_EQ(Send(job, told), EmailResult::Handed);
    const Record r = Recorded();
    EXPECT_EQ(r.at("api"), "A");
    EXPECT_EQ(r.at("subject"), "Vellomar Note");
    // Characters the code page lacks become "?"; the rest stays.
    const std::string body = r.at("body");
    EXPECT_EQ(body.rfind("Hello\r\nCaf", 0), 0u);
    EXPECT_NE(body.find("\r\n??????\r\nBye"), std::string::npos);
    // The attachment keeps every character, and the path opened.
    EXPECT_EQ(r.at("attachment"), "\xEF\xBB\xBF" + TextCodec::ToUtf8(kText));
    EXPECT_FALSE(FileIo::FileExists(job.attachmentPath));
}

TEST_F(EmailTest, NoMailProgramOrAFailureIsToldAndCleansUp) {
    struct {
        const wchar_t* variant;
        const wchar_t* library;
        const wchar_t* logon;
        const wchar_t* send;
        EmailResult result;
        const wchar_t* told;
    } cases[] = {
        {L"full", L"vn-no-such-mapi.dll", nullptr, nullptr, EmailResult::NoMailProgram,
         L"no mail program"},
        {L"nosend", L"", nullptr, nullptr, EmailResult::NoMailProgram, L"no mail program"},
        {L"full", L"", nullptr, L"2", EmailResult::Failed, L"mail failed"},
        {L"full", L"", L"3", nullptr, EmailResult::Failed, L"mail failed"},
        {L"full", L"", nullptr, L"26", EmailResult::NoMailProgram, L"no mail program"},
        {L"full", L"", L"26", nullptr, EmailResult::NoMailProgram, L"no mail program"},
        {L"full", L"", nullptr, L"1", EmailResult::Cancelled, L""},
        {L"full", L"", L"1", nullptr, EmailResult::Cancelled, L""},
    };
    for (const auto& c : cases) {
        Use(c.variant);
        SetEnvironmentVariableW(L"VN_FAKE_MAPI_LOGON", c.logon);
        SetEnvironmentVariableW(L"VN_FAKE_MAPI_SEND", c.send);
        EmailJob job = Job(L"text");
        job.library = c.library;
        std::wstring told;
        EXPECT_EQ(Send(job, told), c.result) << c.variant << " " << c.library;
        EXPECT_EQ(told, c.told) << c.variant << " " << c.library;
        EXPECT_FALSE(FileIo::FileExists(job.attachmentPath));
    }
}

// A MAPI32.DLL on the search path (here the DLL folder, searched before the
// system's, as the program's own folder is) is never the one loaded.
TEST_F(EmailTest, TheMailLibraryComesFromTheSystemFolderOnly) {
    OverrideMailLibrary(std::wstring());
    ASSERT_TRUE(SetDllDirectoryW((ExeFolder() + L"fakemapi\\full").c_str()));
    std::wstring told;
    Send(Job(L"text"), told);
    EXPECT_TRUE(Recorded().empty()) << "the library on the search path was loaded";
}

TEST_F(EmailTest, NoteCommandSendsFromItsOwnThreadWithTheLanguageTexts) {
    FakeHost host;
    host.language.Load(TestPaths::SourceDir() + L"/languages/English.ini");
    NoteWindow* note = host.LoadNote(DataAt(60, 60, 260, 200, kText));
    note->Send(WM_COMMAND, IDM_NOTE_EMAIL_TO);
    // The note is free at once; the record appears when the thread is done.
    Record r;
    for (int i = 0; i < 200 && r.count("recipients") == 0; ++i, Sleep(25)) r = Recorded();
    ASSERT_EQ(r.count("recipients"), 1u);
    const std::wstring body = TextCodec::FromUtf8(r.at("body"));
    EXPECT_EQ(body,
              host.language.TextOf(kEmailHeader) + kText + host.language.TextOf(kEmailFooter));
    EXPECT_EQ(r.at("attachment"), "\xEF\xBB\xBF" + TextCodec::ToUtf8(kText));
    const std::wstring path = TextCodec::FromUtf8(r.at("path"));
    for (int i = 0; i < 100 && FileIo::FileExists(path); ++i) Sleep(20);
    EXPECT_FALSE(FileIo::FileExists(path));
}

}  // namespace
