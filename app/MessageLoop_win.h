#pragma once
// The message loop of the user-interface thread.

#include <windows.h>

// Runs until WM_QUIT and returns its wParam. Every window object may consume a
// message before it is translated and dispatched (a modeless dialog's keyboard
// navigation); a consumed message is neither translated nor dispatched.
WPARAM RunMessageLoop();
