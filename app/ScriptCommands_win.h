#pragma once
// The script commands of the command line (ScriptCommand.h) handed to the
// running instance: a WM_COPYDATA of their own kind beside the file hand-over.

#include <windows.h>

#include <optional>

#include "app/ScriptCommand.h"

constexpr ULONG_PTR kScriptCommandMarker = 1102218;

// Sends the command to the running instance's main window. False when it is too
// long to hand over or the window did not take it.
bool SendScriptCommand(HWND target, const ScriptCommand& command);

// The command a WM_COPYDATA carries, or nothing when it is another kind or its
// payload is refused (DecodeScriptPayload).
std::optional<ScriptCommand> ScriptCommandOf(const COPYDATASTRUCT* data);
