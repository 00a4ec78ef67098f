#include "app/MessageLoop_win.h"

#include "ui/Window_win.h"

WPARAM RunMessageLoop() {
    MSG message = {};
    for (;;) {
        const BOOL result = GetMessageW(&message, nullptr, 0, 0);
        if (result == 0) return message.wParam;
        if (result == -1) continue;
        if (!PreTranslateKeyMessage(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}
