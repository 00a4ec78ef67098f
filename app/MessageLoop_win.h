#pragma once
// The message loop of the user-interface thread.

#include <windows.h>

// Runs until WM_QUIT and returns its wParam. A keyboard message is offered first
// to the window objects from its window up to the top-level one, which may
// consume it (a modeless dialog's keyboard navigation); a consumed message is
// neither translated nor dispatched (PreTranslateKeyMessage).
WPARAM RunMessageLoop();
