#pragma once
// The application run over a scratch data folder, never the user's own.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "TestPaths.h"
#include "app/Application_win.h"

// Runs the thread's messages for the given time.
inline void PumpFor(DWORD milliseconds) {
    for (const DWORD start = GetTickCount();; Sleep(10)) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            if (msg.message != WM_QUIT) TranslateMessage(&msg), DispatchMessageW(&msg);
        if (GetTickCount() - start >= milliseconds) return;
    }
}

class ApplicationFixture : public ::testing::Test {
protected:
    ApplicationFixture() {
        // No test reaches the vendor's server: nothing listens on port 1.
        UpdateNetwork nowhere;
        nowhere.server = {L"127.0.0.1", 1};
        nowhere.timeoutMs = 2000;
        OverrideUpdateNetwork(nowhere);
    }
    void TearDown() override {
        app.reset();
        PumpFor(0);
    }
    Application& Start() {
        app = std::make_unique<Application>(restart, failed, data);
        EXPECT_FALSE(failed);
        return *app;
    }

    std::wstring data = TestPaths::MakeScratchDir();
    bool restart = false, failed = false;
    std::unique_ptr<Application> app;
};
