#include "app/RestartLoop.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace {

// Scripted behaviour of each application object, one entry per construction.
struct Step {
    bool fail, throwInConstructor, askRestart;
    int quitCode;
};

struct Script {
    std::vector<Step> runs;
    std::vector<std::wstring> opened;  // "<run>:<path>"
    int constructed = 0, destroyed = 0, loops = 0, failures = 0;
} script;

class FakeApp {
public:
    FakeApp(bool& restartRequested, bool& startFailed) : index(script.constructed) {
        startFailed = true;
        const Step& run = script.runs.at(index);
        if (run.throwInConstructor) throw std::runtime_error("no memory");
        ++script.constructed;
        restartRequested = run.askRestart;
        startFailed = run.fail;
    }
    ~FakeApp() { ++script.destroyed; }
    void OpenTextFileAsNote(const std::wstring& path, bool placeNearMain) {
        EXPECT_FALSE(placeNearMain);
        script.opened.push_back(std::to_wstring(index) + L":" + path);
    }
    int index;
};

int RunScript(std::vector<Step> runs, const std::wstring& commandLine) {
    script = Script();
    script.runs = std::move(runs);
    return RunApplication<FakeApp>(
        commandLine, [] { return ++script.loops, script.runs.at(script.constructed - 1).quitCode; },
        [] { ++script.failures; });
}

}  // namespace

TEST(RunApplication, RestartsUntilNotAskedAndOpensTheFileOnlyOnce) {
    EXPECT_EQ(
        RunScript({{false, false, true, 1}, {false, false, true, 2}, {false, false, false, 3}},
                  L"C:\\a.txt"),
        3);
    EXPECT_EQ(script.constructed, 3);
    EXPECT_EQ(script.destroyed, 3);
    EXPECT_EQ(script.loops, 3);
    EXPECT_EQ(script.failures, 0);
    EXPECT_EQ(script.opened, std::vector<std::wstring>{L"0:C:\\a.txt"});

    EXPECT_EQ(RunScript({{false, false, false, 0}}, L""), 0);
    EXPECT_TRUE(script.opened.empty());
}

TEST(RunApplication, FailedStartReportsAndSkipsTheLoop) {
    // A constructor that throws counts as a failed start, not a crash.
    for (const Step& run : {Step{true, false, false, 0}, Step{false, true, false, 0}}) {
        EXPECT_EQ(RunScript({run}, L"C:\\a.txt"), 0);
        EXPECT_EQ(script.failures, 1);
        EXPECT_EQ(script.loops, 0);
        EXPECT_EQ(script.destroyed, run.fail ? 1 : 0);
        EXPECT_TRUE(script.opened.empty());
    }
    // A failed restart still returns the last quit code.
    EXPECT_EQ(RunScript({{false, false, true, 5}, {true, false, false, 0}}, L""), 5);
    EXPECT_EQ(script.failures, 1);
    EXPECT_EQ(script.loops, 1);
    EXPECT_EQ(script.destroyed, 2);
}
