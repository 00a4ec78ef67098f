// The command line for scripts on the receiving side, and its hand-over.

#include "app/ScriptCommands_win.h"

#include "app/Application_win.h"
#include "app/SingleInstance_win.h"
#include "lang/LanguageTable.h"
#include "res/resource.h"

bool SendScriptCommand(HWND target, const ScriptCommand& command) {
    std::vector<unsigned char> payload = EncodeScriptPayload(command);
    if (payload.empty()) return false;
    return SendCopyData(target, kScriptCommandMarker, payload);
}

std::optional<ScriptCommand> ScriptCommandOf(const COPYDATASTRUCT* data) {
    if (!data || data->dwData != kScriptCommandMarker) return std::nullopt;
    ScriptCommand command;
    if (!DecodeScriptPayload(data->lpData, data->cbData, command)) return std::nullopt;
    return command;
}

void Application::RunScriptCommand(const ScriptCommand& command) {
    switch (command.action) {
        case ScriptAction::NewNote:
            if (!notesShown) ToggleNotesShown();
            CreateNote(command.argument, false, true);
            break;
        case ScriptAction::NewNoteFromClipboard:
            if (!notesShown) ToggleNotesShown();
            commands->NewNoteFromClipboard();
            break;
        case ScriptAction::ShowNotes:
            if (!notesShown) ToggleNotesShown();
            break;
        case ScriptAction::HideNotes:
            if (notesShown) ToggleNotesShown();
            break;
        case ScriptAction::ToggleNotes:
            ToggleNotesShown();
            break;
        case ScriptAction::FindNotes:
            OpenFindNotes(&command.argument);
            break;
        case ScriptAction::ExportNotes:
            commands->ExportNotesTo(command.argument);
            break;
        case ScriptAction::Usage:
            mainWindow->ShowMessage(language.TextOf(kCommandLine_Usage).c_str(), nullptr,
                                    MB_OK | MB_ICONINFORMATION);
            break;
        case ScriptAction::None:
        case ScriptAction::OpenFile:
            break;
    }
}
