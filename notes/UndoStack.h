#pragma once
// A note's text history: up to four earlier texts to undo, and the texts undone
// since the last change, to redo.

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

class UndoStack {
public:
    static constexpr size_t kLevels = 4;

    // A change replaced `previous`: it becomes the newest undo level, the oldest
    // drops out beyond four, and nothing undone can be redone any more.
    void Record(const std::wstring& previous) {
        redo_.clear();
        while (undo_.size() >= kLevels) undo_.erase(undo_.begin());
        undo_.push_back(previous);
    }

    // Swaps `text` with the newest undo level; false when there is none.
    bool Undo(std::wstring& text) { return Step(undo_, redo_, text); }

    // Swaps `text` with the most recently undone text; false when there is none.
    bool Redo(std::wstring& text) { return Step(redo_, undo_, text); }

    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }
    const std::vector<std::wstring>& UndoTexts() const { return undo_; }  // oldest first
    const std::vector<std::wstring>& RedoTexts() const { return redo_; }  // most recent last

private:
    // Undo and redo move texts between the two stacks only, so together they
    // never hold more than kLevels texts.
    static bool Step(std::vector<std::wstring>& from, std::vector<std::wstring>& to,
                     std::wstring& text) {
        if (from.empty()) return false;
        to.push_back(std::move(text));
        text = std::move(from.back());
        from.pop_back();
        return true;
    }

    std::vector<std::wstring> undo_;
    std::vector<std::wstring> redo_;
};
