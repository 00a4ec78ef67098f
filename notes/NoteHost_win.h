#pragma once
// What a note window needs from the application that owns it. The application
// implements this interface; tests give a note a small fake of it.
//
// Ownership: the host owns the skin, the settings and the note menu, and they
// outlive every note. It also owns the notes themselves, in its list of notes
// (the order of Notes.dat, of saving, of Tab cycling and of the main menu). A
// note never deletes itself: it asks the host to close it (CloseNote), and the
// host destroys it later, when none of the note's own handlers is running.

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "store/AppSettings.h"

struct Skin;
class LanguageTable;
class NoteWindow;
class SkinnedWindows;

class NoteHost {
public:
    virtual ~NoteHost() = default;

    // The loaded skin of this run.
    virtual const Skin& NoteSkin() const = 0;
    // The settings in force. Notes read them at each use, so a change made by
    // the settings dialog applies at once (grid, snapping, resize after edit).
    virtual const AppSettings& Settings() const = 0;
    // Whether layered windows are on for this run ("/Settings/LayeredWindowEnabled"
    // as read at start-up; the skin's mask bitmap is loaded only then).
    virtual bool LayeredWindows() const { return Settings().layeredWindowEnabled; }
    // The popup of the translated note menu (the submenu to track, not the
    // menu bar of the resource); null when the program has none. A note tracks it
    // with Window::ShowPopupMenu, so its commands arrive at NoteWindow::OnCommand.
    virtual HMENU NoteMenu() const = 0;
    // The language of this run, for the note's questions and dialogs.
    virtual const LanguageTable& Language() const = 0;
    // The skinned windows of this run, which every note joins (see-through
    // level, snapping); it outlives every note.
    virtual SkinnedWindows& Windows() = 0;

    // The host's list of notes, which owns them. A closed note has left it.
    virtual const std::vector<std::unique_ptr<NoteWindow>>& Notes() const = 0;
    // Takes `note` out of the list and hides it at once; the object is
    // destroyed on a message posted to the host, after the handler that asked
    // has returned (and any dialog of the note has ended). Saving is the
    // caller's: closing for a restore or an exit must not write the file.
    // A note that is closing already is only looked at again.
    virtual void CloseNote(NoteWindow& note) = 0;

    // Something of a note that Notes.dat keeps has changed. The host writes the
    // file once for a burst of changes, from the live notes (NoteWindow::Data of
    // each, in list order), soon after and at every way out of the program, so a
    // note says so after every change without asking whether it counts.
    virtual void NotesChanged() = 0;
    // With more than one note, brings the note after `note` in the list (after
    // the last, the first) to the foreground without forcing it.
    virtual void ActivateNextNote(NoteWindow* note) = 0;
    // Creates, places and shows a new note; null when it could not be made.
    virtual NoteWindow* CreateNote(const std::wstring& text, bool startEditing,
                                   bool placeNearMain) = 0;
    // The recycle bin file that deleted notes are appended to.
    virtual std::wstring RecycleBinPath() const = 0;
    // Raises every shown note except `except`, then `except` itself, so that it
    // ends up on top; activates the main window when asked. A host without
    // other windows may ignore it.
    virtual void BringNotesToTop(NoteWindow* except, bool activate) {
        (void)except;
        (void)activate;
    }
    // Keeps `font` as the custom default font (Settings().customDefaultFont,
    // hasCustomDefaultFont) and saves it with the notes. A host that keeps no
    // settings may ignore it.
    virtual void SetCustomDefaultFont(const LOGFONTW& font) { (void)font; }
    // Hands a link chosen in a note's Links submenu to the shell, which opens it
    // with the user's program for it. Only web and FTP addresses are ever
    // handed on (LaunchLink); tests record the link instead.
    virtual void OpenLink(const std::wstring& link);
    // The note's alarm has just fired (the note is in front already); the host
    // may tell the user in other ways too.
    virtual void OnAlarmFired(NoteWindow& note) { (void)note; }
};
