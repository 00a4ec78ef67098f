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

struct FakeApp {
    FakeApp(bool& restartRequested, bool& startFailed) : index(script.constructed) {
        startFailed = true;
        const Step& run = script.runs.at(index);
        if (run.throwInConstructor) throw std::runtime_error("no memory");
        ++script.constructed;
        restartRequested = run.askRestart;
        startFailed = run.fail;
    }
    ~FakeApp() { ++script.destroyed; }
    void OpenTextFileAsNote(const std::wstring& path, bool) {
        script.opened.push_back(std::to_wstring(index) + L":" + path);
    }
    int index;
};

}  // namespace

// Restarts while asked, opening the file only in the first run; a failed start
// (a constructor that throws too) is reported and runs no loop, and a failed
// restart still returns the last quit code.
TEST(RunApplication, RestartsUntilNotAskedAndOpensTheFileOnlyOnce) {
    const Step ok{false, false, true, 1}, last{false, false, false, 3};
    const Step fail{true, false, false, 0}, fatal{false, true, false, 0};
    const struct {
        std::vector<Step> runs;
        const wchar_t* file;
        int code, loops, failures, destroyed;
        std::vector<std::wstring> opened;
    } cases[] = {
        {{ok, ok, last}, L"C:\\a.txt", 3, 3, 0, 3, {L"0:C:\\a.txt"}},
        {{last}, L"", 3, 1, 0, 1, {}},
        {{fail}, L"C:\\a.txt", 0, 0, 1, 1, {}},
        {{fatal}, L"C:\\a.txt", 0, 0, 1, 0, {}},
        {{ok, fail}, L"", 1, 1, 1, 2, {}},
    };
    auto loop = [] { return ++script.loops, script.runs.at(script.constructed - 1).quitCode; };
    auto report = [] { ++script.failures; };
    for (const auto& c : cases) {
        script = Script();
        script.runs = c.runs;
        EXPECT_EQ(RunApplication<FakeApp>(c.file, loop, report), c.code);
        EXPECT_EQ(script.loops, c.loops);
        EXPECT_EQ(script.failures, c.failures);
        EXPECT_EQ(script.destroyed, c.destroyed);
        EXPECT_EQ(script.opened, c.opened);
    }
}
