#pragma once
// Every bound window object of the process, in the order in which they were
// bound. The list owns nothing; objects enter it when their window is created
// and leave it when the window receives WM_NCDESTROY (or the object is deleted).

#include <windows.h>

#include <vector>

class Window;

class WindowList {
public:
    static const std::vector<Window*>& Items();
    static void Add(Window* object);
    // Removes every occurrence of the object.
    static void Remove(const Window* object);
    static bool Contains(const Window* object);

    // Asks each object in order whether the message loop may translate and
    // dispatch the message; stops at the first that consumes it. True when
    // nobody did.
    static bool PreTranslate(MSG& message);
};
