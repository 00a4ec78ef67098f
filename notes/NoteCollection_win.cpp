#include "notes/NoteCollection_win.h"

#include <windows.h>

#include <algorithm>

#include "notes/NoteWindow_win.h"
#include "ui/MessageWindow_win.h"
#include "ui/PrivateMessages_win.h"

NoteCollection::NoteCollection() = default;

NoteCollection::~NoteCollection() {
    DestroyAll();
    mailbox.reset();
}

void NoteCollection::DestroyAll() {
    // Each note is out of both lists before it is destroyed: its messages
    // during the destruction may look at them.
    while (!closing.empty() || !notes.empty()) {
        auto& from = closing.empty() ? notes : closing;
        std::unique_ptr<NoteWindow> note = std::move(from.front());
        from.erase(from.begin());
        note.reset();
    }
}

std::vector<NoteWindow*> NoteCollection::Snapshot() const {
    std::vector<NoteWindow*> list;
    list.reserve(notes.size());
    for (const auto& note : notes) list.push_back(note.get());
    return list;
}

NoteWindow* NoteCollection::Add(std::unique_ptr<NoteWindow> note) {
    if (!note || !note->Handle()) return nullptr;
    notes.push_back(std::move(note));
    return notes.back().get();
}

void NoteCollection::Close(NoteWindow& note) {
    auto at = std::find_if(notes.begin(), notes.end(),
                           [&note](const auto& listed) { return listed.get() == &note; });
    if (at != notes.end()) {
        closing.push_back(std::move(*at));
        notes.erase(at);
        note.BeginClosing();
        ShowWindow(note.Handle(), SW_HIDE);
    } else if (std::none_of(closing.begin(), closing.end(),
                            [&note](const auto& closed) { return closed.get() == &note; })) {
        return;
    }
    PostFinish();
}

void NoteCollection::CloseAll() {
    // Every note leaves the list before any of them begins closing: closing a
    // note can run its handlers (hiding a focused editor moves the focus), and
    // a handler ending on a closing note asks the host to close it again.
    std::vector<NoteWindow*> leaving = Snapshot();
    for (auto& note : notes) closing.push_back(std::move(note));
    notes.clear();
    for (NoteWindow* note : leaving) note->BeginClosing();
    FinishClosing();
    // The notes left have a dialog or menu open; they go when it ends.
    for (const auto& note : closing) ShowWindow(note->Handle(), SW_HIDE);
    if (!closing.empty()) PostFinish();
}

void NoteCollection::FinishClosing() {
    // Moved out first: destroying a note sends it messages, which may ask
    // for this list again.
    std::vector<std::unique_ptr<NoteWindow>> done;
    for (auto it = closing.begin(); it != closing.end();) {
        if ((*it)->InHandler()) {
            ++it;
        } else {
            done.push_back(std::move(*it));
            it = closing.erase(it);
        }
    }
    done.clear();
}

void NoteCollection::PostFinish() {
    if (!mailbox) {
        mailbox = std::make_unique<MessageWindow>([this](UINT message, WPARAM, LPARAM) {
            if (message != kFinishClosingNotesMessage) return false;
            finishPosted = false;
            FinishClosing();
            return true;
        });
    }
    if (finishPosted || !mailbox->Handle()) return;
    finishPosted = mailbox->Post(kFinishClosingNotesMessage);
}
