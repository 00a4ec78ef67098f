#pragma once
// Writes done away from the window thread, so that a slow disk never holds up
// typing. One write runs at a time, in the order they were handed over. Only
// the newest state of a file is worth writing: a write handed over while
// another runs waits for it, and replaces a write that was already waiting
// (which then never runs). After each write the thread calls `finished` on its
// own thread (to post a message, nothing more). Wait() returns once no write
// runs or waits; the destructor writes what waits before it ends the thread.

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

class BackgroundWriter {
public:
    explicit BackgroundWriter(std::function<void()> finished = {});
    ~BackgroundWriter();
    BackgroundWriter(const BackgroundWriter&) = delete;
    BackgroundWriter& operator=(const BackgroundWriter&) = delete;

    // The thread starts with the first write; `write` must not throw.
    void Hand(std::function<void()> write);
    void Wait();
    bool Idle() const;

private:
    void Run();

    std::function<void()> finished;
    mutable std::mutex mutex;
    std::condition_variable changed;
    std::function<void()> waiting;
    bool running = false;
    bool ending = false;
    std::thread thread;
};
