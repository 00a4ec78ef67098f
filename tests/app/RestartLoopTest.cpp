#include "app/RestartLoop.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace {

// Scripted behaviour of each application object, one entry per construction.
struct Run {
    bool fail = false;
    bool throwInConstructor = false;
    bool askRestart = false;
    int quitCode = 0;
};

struct Script {
    std::vector<Run> runs;
    std::vector<std::wstring> opened;  // "<run>:<path>"
    int constructed = 0;
    int destroyed = 0;
    int loops = 0;
    int failures = 0;
};

Script* script = nullptr;

class FakeApp {
public:
    FakeApp(bool& restartRequested, bool& startFailed) : index(script->constructed) {
        startFailed = true;
        const Run& run = script->runs.at(index);
        if (run.throwInConstructor) throw std::runtime_error("no memory");
        ++script->constructed;
        restartRequested = run.askRestart;
        if (!run.fail) startFailed = false;
    }
    ~FakeApp() { ++script->destroyed; }
    void OpenTextFileAsNote(const std::wstring& path, bool placeNearMain) {
        EXPECT_FALSE(placeNearMain);
        script->opened.push_back(std::to_wstring(index) + L":" + path);
    }
    int index;
};

int RunScript(Script& s, const std::wstring& commandLine) {
    script = &s;
    return RunApplication<FakeApp>(
        commandLine,
        [&s] {
            ++s.loops;
            return s.runs.at(s.constructed - 1).quitCode;
        },
        [&s] { ++s.failures; });
}

}  // namespace

TEST(RunApplication, RestartsUntilNotAskedAndOpensTheFileOnlyOnce) {
    Script s;
    s.runs = {{false, false, true, 1}, {false, false, true, 2}, {false, false, false, 3}};
    EXPECT_EQ(RunScript(s, L"C:\\a.txt"), 3);
    EXPECT_EQ(s.constructed, 3);
    EXPECT_EQ(s.destroyed, 3);
    EXPECT_EQ(s.loops, 3);
    EXPECT_EQ(s.failures, 0);
    EXPECT_EQ(s.opened, std::vector<std::wstring>{L"0:C:\\a.txt"});
}

TEST(RunApplication, EmptyCommandLineOpensNothing) {
    Script s;
    s.runs = {{false, false, false, 0}};
    EXPECT_EQ(RunScript(s, L""), 0);
    EXPECT_TRUE(s.opened.empty());
}

TEST(RunApplication, FailedStartReportsAndSkipsTheLoop) {
    Script s;
    s.runs = {{true, false, false, 0}};
    EXPECT_EQ(RunScript(s, L"C:\\a.txt"), 0);
    EXPECT_EQ(s.failures, 1);
    EXPECT_EQ(s.loops, 0);
    EXPECT_EQ(s.destroyed, 1);
    EXPECT_TRUE(s.opened.empty());

    // A constructor that throws counts as a failed start, not a crash.
    Script t;
    t.runs = {{false, true, false, 0}};
    EXPECT_EQ(RunScript(t, L"C:\\a.txt"), 0);
    EXPECT_EQ(t.failures, 1);
    EXPECT_EQ(t.loops, 0);
}

TEST(RunApplication, FailedRestartStillReturnsTheLastQuitCode) {
    Script s;
    s.runs = {{false, false, true, 5}, {true, false, false, 0}};
    EXPECT_EQ(RunScript(s, L""), 5);
    EXPECT_EQ(s.failures, 1);
    EXPECT_EQ(s.loops, 1);
    EXPECT_EQ(s.destroyed, 2);
}
