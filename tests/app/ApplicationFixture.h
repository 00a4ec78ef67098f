#pragma once
// The application run over a scratch data folder, never the user's own.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/Application_win.h"
#include "store/FileIo.h"
#include "store/NotesFile.h"
#include "store/SettingsStore.h"
#include "support/MessagePump_win.h"
#include "support/TestPaths.h"
#include "ui/PrivateMessages_win.h"

// A record of Notes.dat.
inline NoteData Record(Rect rect, const std::wstring& text = L"note",
                       const std::wstring& title = L"", bool hidden = false) {
    NoteData note;
    note.rect = rect;
    note.text = text;
    note.title = title;
    note.hidden = hidden;
    note.created = {2024, 5, 5, 3, 17, 12, 0, 0};
    return note;
}

class ApplicationFixture : public ::testing::Test {
protected:
    ApplicationFixture() {
        // No test reaches the vendor's server: nothing listens on port 1.
        UpdateNetwork nowhere;
        nowhere.server = {L"127.0.0.1", 1};
        nowhere.timeoutMs = 2000;
        OverrideUpdateNetwork(nowhere);
    }
    void TearDown() override {
        app.reset();
        PumpMessages();
    }
    // The options of a start over the scratch folder. Not the first of the
    // process: a start-up update check would keep the menus busy.
    StartOptions Options() const {
        StartOptions options;
        options.firstOfProcess = false;
        options.dataFolder = data;
        return options;
    }
    Application& Start() { return Start(Options()); }
    Application& Start(const StartOptions& options) {
        app = std::make_unique<Application>(restart, failed, options);
        EXPECT_FALSE(failed);
        // The file is read as soon as the posted messages have run.
        app->Document().SetWritesInBackground(false);
        return *app;
    }

    // The texts of the running application's language.
    const LanguageTable& Texts() const { return app->Language(); }

    std::wstring SettingsPath() const { return data + L"Settings.ini"; }
    std::wstring NotesPath() const { return data + L"Notes.dat"; }
    // Notes.dat as the application will find it at its start.
    void SeedNotes(const std::vector<NoteData>& records) {
        NotesFileData file;
        file.notes = records;
        ASSERT_TRUE(FileIo::WriteFileAtomically(NotesPath(), SerializeNotes(file)));
    }
    // The notes of Notes.dat (or of the notes file named) once the saves that
    // the last action posted have run.
    std::vector<NoteData> SavedNotes(const std::wstring& path = L"") const {
        PumpMessages();
        return FileNotes(path);
    }
    // Runs the save that the last change posted and nothing after it: a save
    // in the background has then been handed over and not told its outcome.
    static bool RunPostedSave() {
        MSG message;
        if (!PumpUntilMessage([](const MSG& m) { return m.message == kSaveNotesMessage; }, 2000,
                              &message))
            return false;
        DispatchMessageW(&message);
        return true;
    }
    // The notes of the file as it is this moment.
    std::vector<NoteData> FileNotes(const std::wstring& path = L"") const {
        std::string bytes;
        NotesFileData file;
        if (FileIo::ReadFile(path.empty() ? NotesPath() : path, bytes)) ParseNotes(bytes, file);
        return file.notes;
    }
    std::wstring ReadSetting(const wchar_t* path) const {
        std::wstring value;
        SettingsStore(SettingsPath()).ReadString(path, value);
        return value;
    }

    std::wstring data = TestPaths::MakeScratchDir();
    bool restart = false, failed = false;
    std::unique_ptr<Application> app;
};
