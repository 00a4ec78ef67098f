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
    std::vector<std::wstring> opened;  // "<run>:<path>" and "<run>:/<command argument>"
    std::vector<bool> firsts;
    std::vector<std::wstring> folders;
    int constructed = 0, destroyed = 0, loops = 0, failures = 0;
} script;

struct FakeApp {
    FakeApp(bool& restartRequested, bool& startFailed, const StartOptions& options)
        : index(script.constructed) {
        startFailed = true;
        // What each start is given: the file and the command only at the
        // first, the data folder at every one.
        if (!options.fileToOpen.empty())
            script.opened.push_back(std::to_wstring(index) + L":" + options.fileToOpen);
        if (options.command)
            script.opened.push_back(std::to_wstring(index) + L":/" + options.command->argument);
        script.firsts.push_back(options.firstOfProcess);
        script.folders.push_back(options.dataFolder);
        const Step& run = script.runs.at(index);
        if (run.throwInConstructor) throw std::runtime_error("no memory");
        ++script.constructed;
        restartRequested = run.askRestart;
        startFailed = run.fail;
    }
    ~FakeApp() { ++script.destroyed; }
    int index;
};

}  // namespace

// Restarts while asked, giving the file and the command only to the first run
// and the data folder to every one; a failed start (a constructor that throws
// too) is reported and runs no loop, and a failed restart still returns the
// last quit code.
TEST(RunApplication, RestartsUntilNotAskedAndOpensTheFileOnlyOnce) {
    const Step ok{false, false, true, 1}, last{false, false, false, 3};
    const Step fail{true, false, false, 0}, fatal{false, true, false, 0};
    const struct {
        std::vector<Step> runs;
        const wchar_t* file;
        int code, loops, failures, destroyed;
        std::vector<std::wstring> opened;
    } cases[] = {
        {{ok, ok, last}, L"C:\\a.txt", 3, 3, 0, 3, {L"0:C:\\a.txt", L"0:/words"}},
        {{last}, L"", 3, 1, 0, 1, {}},
        {{fail}, L"C:\\a.txt", 0, 0, 1, 1, {L"0:C:\\a.txt", L"0:/words"}},
        {{fatal}, L"C:\\a.txt", 0, 0, 1, 0, {L"0:C:\\a.txt", L"0:/words"}},
        {{ok, fail}, L"", 1, 1, 1, 2, {}},
    };
    auto loop = [] { return ++script.loops, script.runs.at(script.constructed - 1).quitCode; };
    auto report = [] { ++script.failures; };
    for (const auto& c : cases) {
        script = Script();
        script.runs = c.runs;
        StartOptions options;
        options.dataFolder = L"D:\\data\\";
        options.fileToOpen = c.file;
        if (*c.file) options.command = ScriptCommand{ScriptAction::FindNotes, L"words"};
        EXPECT_EQ(RunApplication<FakeApp>(options, loop, report), c.code);
        EXPECT_EQ(script.loops, c.loops);
        EXPECT_EQ(script.failures, c.failures);
        EXPECT_EQ(script.destroyed, c.destroyed);
        EXPECT_EQ(script.opened, c.opened);
        const size_t starts = script.firsts.size();
        ASSERT_GE(starts, 1u);
        EXPECT_TRUE(script.firsts[0]);
        for (size_t i = 1; i < starts; ++i) EXPECT_FALSE(script.firsts[i]);
        EXPECT_EQ(std::vector<std::wstring>(starts, L"D:\\data\\"), script.folders);
    }
}
