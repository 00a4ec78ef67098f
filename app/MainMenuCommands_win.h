#pragma once
// The main menu's commands that act on the notes, their files and the
// program's look: new notes, tiling, unhiding, import and export, the recycle
// bin, about, the main window's own items and exit, and the choices of the
// notes, language, skin and colour theme lists. The commands that open the
// run's own dialogs and windows stay with the owner, as do showing, hiding and
// raising all notes, and the restart.
//
// The lists are filled as the menu opens (Prepare); a choice acts on the list
// the user saw, and the language and skin lists are given up by a choice.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct AppSettings;
class LanguageTable;
class MainWindow;
struct MainMenuState;
class NoteHost;
class NotesDocument;
class SettingsStore;
class ValueStore;
struct Skin;

class MainMenuCommands {
public:
    // What the commands need of the run beyond the parts they are given.
    class Owner {
    public:
        // False while the user has every note hidden: no note is made or chosen.
        virtual bool NotesShown() const = 0;
        // Whether the colour theme is the user's choice rather than Windows'
        // mode; a choice from the list makes it so for the rest of the run.
        virtual bool ColorThemeChosen() const = 0;
        virtual void KeepColorThemeChosen() = 0;
        // Whether the last new note or main menu came from the tray icon: a
        // note chosen from the list is then forced to the foreground.
        virtual bool PlaceNearTray() const = 0;
        // Ends this run and starts the next, which reads language, skin and
        // colour theme afresh.
        virtual void Restart() = 0;
        // Makes a note of a text file's text, or tells why not.
        virtual void OpenTextFileAsNote(const std::wstring& path, bool placeNearMain) = 0;

    protected:
        ~Owner() = default;
    };

    // Every part outlives the commands. Notes are made with `noteHost` and
    // kept in `document`; messages and dialogs are owned by `mainWindow`. The
    // predecessor's notes are looked for in `oldNotesFolder` (with a trailing
    // separator).
    MainMenuCommands(Owner& owner, NoteHost& noteHost, NotesDocument& document,
                     AppSettings& settings, SettingsStore& settingsStore,
                     const LanguageTable& language, MainWindow& mainWindow, Skin& skin,
                     std::wstring oldNotesFolder);
    MainMenuCommands(const MainMenuCommands&) = delete;
    MainMenuCommands& operator=(const MainMenuCommands&) = delete;

    // Carries out the command; false when it is none of these.
    bool Run(WORD id);
    // Brings the menu up to date, its lists included, before it opens.
    void Prepare(HMENU popup, const MainMenuState& state);

    // Also for the tray icon, the hot keys and the command line.
    void NewNoteFromClipboard();
    // Writes the text of every note to `path`; false (the user told) when it
    // cannot be written.
    bool ExportNotesTo(const std::wstring& path);
    // Opens `target` with its program; tells the user what could not be
    // opened and why.
    void OpenOrTell(const std::wstring& target);
    // Tints the live skin with colour theme `index` and keeps it as the
    // current one (the settings' skinColorThemeIndex, which the skin's load
    // set); nothing happens for the current index.
    void ApplyTheme(uint32_t index);

    // Opens a document or address with its associated program, or with the
    // program named; answers 0 or why not. Tests replace them: the shell's
    // (OpenOrTell) and the text files' (the recycle bin: an empty program by
    // the ".txt" association, "notepad.exe" with the system's Notepad).
    using Opener = std::function<DWORD(const std::wstring& target, const std::wstring& program)>;
    void SetShellOpener(Opener opener) { shellOpen = std::move(opener); }
    void SetTextFileOpener(Opener opener) { textFileOpen = std::move(opener); }

    const std::wstring& OldNotesFolder() const { return oldNotesFolder; }
    // The lists' entries as the menu last showed them.
    const std::vector<std::wstring>& LanguageFileNames() const { return languageFileNames; }
    const std::vector<std::wstring>& SkinFolderNames() const { return skinFolderNames; }

private:
    void NewNoteFromFile();
    // The predecessor's notes from oldNotesFolder, after a question.
    void ImportOldNotes();
    void ExportNotes();
    // Spreads the shown notes over their monitors' work areas; one save.
    void TileNotes();
    // Shows every hidden note (when notes are shown at all); one save.
    void UnhideNotes();
    void OpenRecycleBin();
    void EmptyRecycleBin();
    void ShowAbout();
    void ChooseNote(size_t index);
    // The language or skin of entry `index` of the list the menu showed,
    // written with `write`, and a restart to take it.
    void ChooseName(std::vector<std::wstring>& shown, size_t index,
                    bool (*write)(ValueStore&, const std::wstring&));
    void ChooseColorTheme(size_t index);

    Owner& owner;
    NoteHost& noteHost;
    NotesDocument& document;
    AppSettings& settings;
    SettingsStore& settingsStore;
    const LanguageTable& language;
    MainWindow& mainWindow;
    Skin& skin;
    const std::wstring oldNotesFolder;
    Opener shellOpen;
    Opener textFileOpen;
    std::vector<std::wstring> languageFileNames;
    std::vector<std::wstring> skinFolderNames;
};
