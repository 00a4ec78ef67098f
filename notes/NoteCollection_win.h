#pragma once
// The notes of a host, owned: the list in its order, and the notes that were
// closed but not yet destroyed.
//
// A note is closed from inside its own handlers (its delete button, its menu,
// a blank new note) or by the host while a dialog or menu of the note may be
// open (exit, restore from a backup). It leaves the list and is hidden at
// once; the object is destroyed only when no handler of the note or of its
// editor is running, so that no modal loop returns into a destroyed note.
// What cannot be destroyed at once is finished on a message posted to a
// message-only window of the collection.

#include <memory>
#include <vector>

class MessageWindow;
class NoteWindow;

class NoteCollection {
public:
    NoteCollection();
    // Destroys every note left, closing or not.
    ~NoteCollection();
    NoteCollection(const NoteCollection&) = delete;
    NoteCollection& operator=(const NoteCollection&) = delete;

    const std::vector<std::unique_ptr<NoteWindow>>& List() const { return notes; }
    // The list as plain pointers, for loops whose steps may change the list: a
    // note closed meanwhile lives on until the posted message.
    std::vector<NoteWindow*> Snapshot() const;
    // Appends a note whose window was made and returns it; a note without a
    // window (the system's quotas) is destroyed and null returned.
    NoteWindow* Add(std::unique_ptr<NoteWindow> note);
    // Takes the note out of the list, stops it and hides it; it is destroyed
    // on the posted message. Called again for a closing note (its last
    // handler has returned), only posts the message again. Notes not of this
    // collection are ignored.
    void Close(NoteWindow& note);
    // Closes every note; those with no handler running are destroyed at once.
    void CloseAll();
    // Destroys the closing notes with no handler running.
    void FinishClosing();
    // Destroys every note now, closing or not: only for the end of a host,
    // when no message loop can be running on a note.
    void DestroyAll();
    // Closed notes not destroyed yet.
    size_t ClosingCount() const { return closing.size(); }

private:
    void PostFinish();

    std::vector<std::unique_ptr<NoteWindow>> notes;
    std::vector<std::unique_ptr<NoteWindow>> closing;
    // Receives the posted finishing message (the first close makes it).
    std::unique_ptr<MessageWindow> mailbox;
    bool finishPosted = false;
};
