#pragma once
// A message-only window: never shown, never listed with the top-level windows,
// it receives the messages and timers that its owner posts to itself. A
// message posted to the thread instead would be lost in any modal loop (a
// menu, a dialog, a message box, a move) running when it arrives.
//
//   MessageWindow mailbox([this](UINT message, WPARAM wParam, LPARAM) {
//       if (message != kSomethingMessage) return false;
//       DoSomething(wParam);
//       return true;
//   });
//   mailbox.Post(kSomethingMessage, 5);
//
// The handler answers true for a message it handled (the window answers 0);
// everything else gets default processing.

#include <functional>

#include "ui/Window_win.h"

class MessageWindow : public Window {
public:
    using Handler = std::function<bool(UINT message, WPARAM wParam, LPARAM lParam)>;

    explicit MessageWindow(Handler handler);

    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    Handler handler;
};
