// The writer in the background: writes run one at a time in the order handed
// over, a write that waits is replaced by a newer one, Wait() returns only once
// nothing runs or waits, and ending the writer still writes what waits.

#include "store/BackgroundWriter.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

// Holds the write that runs until the test opens it.
class Gate {
public:
    void Pass() {
        std::unique_lock<std::mutex> lock(mutex);
        reached = true;
        changed.notify_all();
        changed.wait(lock, [this] { return open; });
    }
    void WaitUntilReached() {
        std::unique_lock<std::mutex> lock(mutex);
        changed.wait(lock, [this] { return reached; });
    }
    void Open() {
        std::lock_guard<std::mutex> lock(mutex);
        open = true;
        changed.notify_all();
    }

private:
    std::mutex mutex;
    std::condition_variable changed;
    bool reached = false;
    bool open = false;
};

struct Log {
    std::mutex mutex;
    std::vector<std::string> entries;
    void Add(const std::string& entry) {
        std::lock_guard<std::mutex> lock(mutex);
        entries.push_back(entry);
    }
    std::vector<std::string> Entries() {
        std::lock_guard<std::mutex> lock(mutex);
        return entries;
    }
};

TEST(BackgroundWriter, OnlyTheNewestWaitingWriteRunsAfterTheOneRunning) {
    Log log;
    std::atomic<int> finished{0};
    Gate gate;
    BackgroundWriter writer([&] {
        ++finished;
        log.Add("finished");
    });
    EXPECT_TRUE(writer.Idle()) << "no thread before the first write";

    writer.Hand([&] {
        log.Add("first begins");
        gate.Pass();
        log.Add("first ends");
    });
    gate.WaitUntilReached();
    EXPECT_FALSE(writer.Idle()) << "a write runs";
    // Handed over while the first runs: each replaces the one before it.
    writer.Hand([&] { log.Add("second"); });
    writer.Hand([&] { log.Add("third"); });
    writer.Hand([&] { log.Add("fourth"); });
    EXPECT_FALSE(writer.Idle());
    gate.Open();
    writer.Wait();
    EXPECT_TRUE(writer.Idle());
    EXPECT_EQ(log.Entries(), (std::vector<std::string>{"first begins", "first ends", "finished",
                                                       "fourth", "finished"}));
    EXPECT_EQ(finished.load(), 2);

    // The writer goes on after it was idle.
    writer.Hand([&] { log.Add("fifth"); });
    writer.Wait();
    EXPECT_EQ(log.Entries().back(), "finished");
    EXPECT_EQ(log.Entries()[log.Entries().size() - 2], "fifth");
    EXPECT_EQ(finished.load(), 3);
}

TEST(BackgroundWriter, EndingWritesWhatRunsAndWhatWaits) {
    Log log;
    Gate gate;
    std::thread opener;
    {
        BackgroundWriter writer;  // no call after each write
        writer.Hand([&] {
            gate.Pass();
            log.Add("running");
        });
        gate.WaitUntilReached();
        writer.Hand([&] { log.Add("waiting"); });
        // The writer is ended while the first write is held: its end must
        // wait for both, whichever order the threads meet in.
        opener = std::thread([&] { gate.Open(); });
    }
    opener.join();
    EXPECT_EQ(log.Entries(), (std::vector<std::string>{"running", "waiting"}));

    // A writer that never wrote ends at once, and Wait() on it returns.
    BackgroundWriter unused;
    unused.Wait();
    EXPECT_TRUE(unused.Idle());
}

}  // namespace
