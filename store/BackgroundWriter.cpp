#include "store/BackgroundWriter.h"

#include <utility>

BackgroundWriter::BackgroundWriter(std::function<void()> whenFinished)
    : finished(std::move(whenFinished)) {}

BackgroundWriter::~BackgroundWriter() {
    {
        std::lock_guard<std::mutex> lock(mutex);
        ending = true;
    }
    changed.notify_all();
    if (thread.joinable()) thread.join();
}

void BackgroundWriter::Hand(std::function<void()> write) {
    {
        std::lock_guard<std::mutex> lock(mutex);
        waiting = std::move(write);
        if (!thread.joinable()) thread = std::thread(&BackgroundWriter::Run, this);
    }
    changed.notify_all();
}

void BackgroundWriter::Wait() {
    std::unique_lock<std::mutex> lock(mutex);
    changed.wait(lock, [this] { return !waiting && !running; });
}

bool BackgroundWriter::Idle() const {
    std::lock_guard<std::mutex> lock(mutex);
    return !waiting && !running;
}

void BackgroundWriter::Run() {
    std::unique_lock<std::mutex> lock(mutex);
    for (;;) {
        changed.wait(lock, [this] { return waiting || ending; });
        // Ending with a write still waiting: it is written first.
        if (!waiting) return;
        std::function<void()> write = std::move(waiting);
        waiting = nullptr;
        running = true;
        lock.unlock();
        write();
        if (finished) finished();
        lock.lock();
        running = false;
        changed.notify_all();
    }
}
