#pragma once
// The application run over a scratch data folder, never the user's own.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/TestPaths.h"
#include "app/Application_win.h"
#include "support/MessagePump_win.h"

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
