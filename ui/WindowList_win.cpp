#include "ui/WindowList_win.h"

#include <algorithm>

#include "ui/Window_win.h"

namespace {

std::vector<Window*>& List() {
    static std::vector<Window*> list;
    return list;
}

}  // namespace

const std::vector<Window*>& WindowList::Items() {
    return List();
}

void WindowList::Add(Window* object) {
    List().push_back(object);
}

void WindowList::Remove(const Window* object) {
    auto& list = List();
    list.erase(std::remove(list.begin(), list.end(), object), list.end());
}

bool WindowList::Contains(const Window* object) {
    const auto& list = List();
    return std::find(list.begin(), list.end(), object) != list.end();
}

bool WindowList::PreTranslate(MSG& message) {
    // Walked by index: a PreTranslate may dispatch the message itself (a
    // dialog's keyboard navigation) and so create or destroy windows, which
    // changes the list under the walk.
    const auto& list = List();
    for (size_t i = 0; i < list.size(); ++i) {
        if (!list[i]->PreTranslate(message)) return false;
    }
    return true;
}
