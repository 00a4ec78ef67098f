// The update check against a real HTTP server on this machine: what each answer
// leads to, what is recorded, and that neither cancelling nor a server that
// never answers holds up the user-interface thread.

#include <gtest/gtest.h>

#include <string>

#include "support/LocalUpdateServer.h"
#include "support/MessagePump_win.h"
#include "support/DialogAnswers_win.h"
#include "support/TestPaths.h"
#include "lang/LanguageTable.h"
#include "store/SettingsStore.h"
#include "update/UpdateCheck_win.h"

namespace {

constexpr uint64_t kDay = Update::kFileTimeDay;

class UpdateCheckTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        language.Load(TestPaths::SourceDir() + L"/languages/English.ini");
        server = new LocalUpdateServer;
    }
    static void TearDownTestSuite() {
        delete server;
        server = nullptr;
    }

    void SetUp() override {
        ASSERT_NE(server->Port(), 0) << "the local server did not start";
        OverrideUpdateNetwork(server->Network(2000));
        window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                                 nullptr);
        check.SetLauncher([this](const std::wstring& url) { launched.push_back(url); });
    }
    void TearDown() override { DestroyWindow(window); }

    // Runs the thread's messages until the check's completion message arrives,
    // and hands it on as the main window does.
    bool RunToCompletion(DWORD timeoutMs = 10000) {
        if (!PumpUntilMessage([this](const MSG& m) { return IsDone(m); }, timeoutMs)) return false;
        check.OnDone(settings, store, language);
        return true;
    }
    bool IsDone(const MSG& m) const {
        return m.message == UpdateCheck::kDoneMessage && m.hwnd == window;
    }

    bool Check(bool silent, int status, const std::string& body) {
        server->Answer(status, body);
        if (!check.Start(window, silent)) return false;
        EXPECT_TRUE(check.Exists());
        EXPECT_TRUE(check.Running());
        const bool done = RunToCompletion();
        EXPECT_FALSE(check.Exists());
        EXPECT_FALSE(check.Running());
        return done;
    }

    uint64_t Recorded() const {
        return Update::JoinFileTime(settings.lastUpdateCheckLow, settings.lastUpdateCheckHigh);
    }
    uint64_t Stored() {
        uint32_t low = 0, high = 0;
        store.ReadUInt32(L"/Settings/LastUpdateCheck_Low", low);
        store.ReadUInt32(L"/Settings/LastUpdateCheck_High", high);
        return Update::JoinFileTime(low, high);
    }
    void SetLastCheck(uint64_t time) {
        settings.lastUpdateCheckLow = static_cast<uint32_t>(time);
        settings.lastUpdateCheckHigh = static_cast<uint32_t>(time >> 32);
    }

    static inline LocalUpdateServer* server = nullptr;
    static inline LanguageTable language;
    HWND window = nullptr;
    UpdateCheck check{Update::Version{3, 2}, L"Vellomar Notes 3"};
    AppSettings settings;
    SettingsStore store{TestPaths::MakeScratchDir() + L"Settings.ini"};
    std::vector<std::wstring> launched;
    DialogAnswers boxes;
};

// A newer version is offered for download, for a silent check too, and the
// download goes over HTTPS to the same host whatever the answer to the prompt.
TEST_F(UpdateCheckTest, NewerVersionsPromptForTheDownload) {
    const struct {
        const char* body;
        bool silent;
        int answer;
    } cases[] = {{"303", false, IDYES}, {"400\n", true, IDYES}, {"310 x", false, IDNO}};
    for (const auto& c : cases) {
        boxes.Clear();
        launched.clear();
        boxes.Queue(c.answer);
        const uint64_t before = FileTimeNow();
        ASSERT_TRUE(Check(c.silent, 200, c.body)) << c.body;
        ASSERT_EQ(boxes.Texts().size(), 1u) << c.body;
        EXPECT_EQ(boxes.Texts()[0], language.TextOf(kNewVersion_DownloadPrompt));
        if (c.answer == IDYES) {
            ASSERT_EQ(launched.size(), 1u);
            EXPECT_EQ(launched[0], L"https://127.0.0.1/notes/zephyn3.exe");
        } else {
            EXPECT_TRUE(launched.empty());
        }
        EXPECT_GE(Recorded(), before);
        EXPECT_EQ(Stored(), Recorded());
    }
    EXPECT_EQ(server->Requests().back(), "/notes/versiondata.txt");
}

// A redirect, to another host or to the same, is not followed: the check the
// user asked for fails, and the other server hears nothing.
TEST_F(UpdateCheckTest, RedirectsAreNotFollowed) {
    LocalUpdateServer other;
    ASSERT_NE(other.Port(), 0);
    other.Answer(200, "303");
    const std::string elsewhere = "http://" + TestPaths::Narrow(other.Address());
    for (const std::string& location :
         {elsewhere + "/notes/versiondata.txt", std::string("/notes/versiondata.txt?again")}) {
        for (int status : {301, 302, 307}) {
            boxes.Clear();
            server->Redirect(status, location);
            ASSERT_TRUE(check.Start(window, false));
            ASSERT_TRUE(RunToCompletion()) << status;
            ASSERT_EQ(boxes.Texts().size(), 1u) << status << " " << location;
            EXPECT_EQ(boxes.Texts()[0], language.TextOf(kNewVersion_CheckFailed))
                << status << " " << location;
        }
    }
    EXPECT_TRUE(other.Requests().empty());
    EXPECT_TRUE(launched.empty());
}

// The running version or an older one: told only when the user asked.
TEST_F(UpdateCheckTest, NoNewerVersionIsToldOnlyWhenAsked) {
    for (const char* body : {"302", "299"}) {
        for (bool silent : {false, true}) {
            boxes.Clear();
            SetLastCheck(0);
            const uint64_t before = FileTimeNow();
            ASSERT_TRUE(Check(silent, 200, body)) << body;
            if (silent) {
                EXPECT_TRUE(boxes.Texts().empty()) << body;
            } else {
                ASSERT_EQ(boxes.Texts().size(), 1u) << body;
                EXPECT_EQ(boxes.Texts()[0], language.TextOf(kNewVersion_NoNewVersion));
            }
            EXPECT_GE(Recorded(), before) << body;
            EXPECT_EQ(Stored(), Recorded());
        }
    }
    EXPECT_TRUE(launched.empty());
}

// No version: an empty body, an error page that holds a number, a body that is
// no number (which bodies are numbers, the portable tests tell). A check the
// user asked for says it failed and records nothing; a silent one records the
// time only within the day count.
TEST_F(UpdateCheckTest, AnswersThatAreNoVersion) {
    const struct {
        int status;
        const char* body;
    } answers[] = {{200, ""}, {404, "400"}, {500, "303"}, {200, "v303"}};
    for (const auto& a : answers) {
        boxes.Clear();
        SetLastCheck(0);
        ASSERT_TRUE(Check(false, a.status, a.body)) << a.status << " " << a.body;
        ASSERT_EQ(boxes.Texts().size(), 1u);
        EXPECT_EQ(boxes.Texts()[0], language.TextOf(kNewVersion_CheckFailed));
        EXPECT_EQ(Recorded(), 0u);

        const uint64_t threeDaysAgo = FileTimeNow() - 3 * kDay;
        SetLastCheck(threeDaysAgo);
        ASSERT_TRUE(Check(true, a.status, a.body));
        EXPECT_GT(Recorded(), threeDaysAgo);

        const uint64_t tenDaysAgo = FileTimeNow() - 10 * kDay;
        SetLastCheck(tenDaysAgo);
        ASSERT_TRUE(Check(true, a.status, a.body));
        EXPECT_EQ(Recorded(), tenDaysAgo);
        EXPECT_EQ(boxes.Texts().size(), 1u) << "silent checks show nothing";
    }
    EXPECT_TRUE(launched.empty());
}

// While the server holds the request without answering, cancelling returns
// within about a second; the worker ends by its own time-out later, lets go of
// the job and posts nothing.
TEST_F(UpdateCheckTest, CancelDoesNotWaitForAStalledServer) {
    server->Stall();
    const size_t before = server->Requests().size();
    ASSERT_TRUE(check.Start(window, false));
    const std::weak_ptr<UpdateCheckJob> job = check.CurrentJob();
    ASSERT_TRUE(server->WaitForRequests(before + 1));

    const DWORD start = GetTickCount();
    check.Stop();
    const DWORD took = GetTickCount() - start;
    EXPECT_LT(took, 1500u);
    EXPECT_FALSE(check.Exists());
    EXPECT_FALSE(check.Running());
    EXPECT_FALSE(job.expired()) << "the worker still holds the job";

    bool posted = false;
    for (const DWORD wait = GetTickCount(); GetTickCount() - wait < 10000 && !job.expired();) {
        MSG msg;
        while (PeekMessageW(&msg, window, 0, 0, PM_REMOVE)) {
            posted = posted || msg.message == UpdateCheck::kDoneMessage;
        }
        Sleep(20);
    }
    EXPECT_TRUE(job.expired()) << "the abandoned worker freed the job";
    EXPECT_EQ(UpdateCheckWorkersAlive(), 0);
    EXPECT_FALSE(posted);
    EXPECT_TRUE(boxes.Texts().empty());

    // The next check works as usual.
    ASSERT_TRUE(Check(true, 200, "302"));
}

// A completion message from a check that was stopped meanwhile is ignored, even
// when a new check has started since.
TEST_F(UpdateCheckTest, StaleCompletionMessagesAreIgnored) {
    server->Answer(200, "303");
    ASSERT_TRUE(check.Start(window, false));
    // Wait for the message without handling it, then stop the check.
    ASSERT_TRUE(PumpUntilMessage([this](const MSG& m) { return IsDone(m); }, 10000));
    check.Stop();
    server->Stall();
    ASSERT_TRUE(check.Start(window, false));
    check.OnDone(settings, store, language);  // the old message, handled late
    EXPECT_TRUE(check.Exists()) << "the new check goes on";
    EXPECT_TRUE(boxes.Texts().empty());
    check.Stop();
}

}  // namespace
