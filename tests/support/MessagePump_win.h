#pragma once
// The message loop of a test: the code under test posts, sends, paints and
// sets timers on the test's own thread, and nothing of it happens until the
// test runs the thread's messages. WM_QUIT is dropped: a test has no loop to end.

#include <windows.h>

#include <functional>

namespace TestPump {

// Dispatches whatever is queued now.
inline void Drain() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

inline bool Busy() {
    return HIWORD(GetQueueStatus(QS_PAINT | QS_POSTMESSAGE | QS_SENDMESSAGE));
}

}  // namespace TestPump

// Runs the thread's messages until no painting, posted or sent message is left;
// then, `rounds` - 1 more times, waits 5 ms and does it again, for what the
// system queues a moment later (input and window events reach Wine's queues
// late). Timers are not waited for: fading and hover timers would keep it busy.
// A window that keeps posting to itself is cut off after a few seconds.
inline void PumpMessages(int rounds = 3) {
    const DWORD start = GetTickCount();
    for (int round = 0; round < rounds; ++round) {
        if (round > 0) Sleep(5);
        do TestPump::Drain();
        while (TestPump::Busy() && GetTickCount() - start < 5000);
    }
}

// Runs the thread's messages, timers included, for the given time.
inline void PumpFor(DWORD milliseconds) {
    for (const DWORD start = GetTickCount();; Sleep(10)) {
        TestPump::Drain();
        if (GetTickCount() - start >= milliseconds) return;
    }
}

// Runs the thread's messages until `done` says so (asked whenever the queue is
// empty) or the time is up; the last answer of `done`.
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    for (const DWORD start = GetTickCount(); !done();) {
        if (GetTickCount() - start >= timeoutMs) return done();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        TestPump::Drain();
    }
    return true;
}

// Runs the thread's messages until one that `take` accepts arrives; that one
// is removed from the queue, not dispatched, and copied to `taken`. False when
// none came in time.
inline bool PumpUntilMessage(const std::function<bool(const MSG&)>& take, DWORD timeoutMs,
                             MSG* taken = nullptr) {
    for (const DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs;) {
        MSG message;
        if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
            continue;
        }
        if (take(message)) {
            if (taken) *taken = message;
            return true;
        }
        if (message.message == WM_QUIT) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return false;
}
