#include "app/ScriptCommand.h"

#include "app/CommandLine.h"

namespace {

bool Blank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n';
}

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) {
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c + 32);
    }
    return text;
}

struct Switch {
    const wchar_t* name;
    ScriptAction action;
    bool needsArgument;
};

const Switch kSwitches[] = {
    {L"new", ScriptAction::NewNote, false},
    {L"new-from-clipboard", ScriptAction::NewNoteFromClipboard, false},
    {L"show", ScriptAction::ShowNotes, false},
    {L"hide", ScriptAction::HideNotes, false},
    {L"toggle", ScriptAction::ToggleNotes, false},
    {L"find", ScriptAction::FindNotes, false},
    {L"export", ScriptAction::ExportNotes, true},
    {L"?", ScriptAction::Usage, false},
};

}  // namespace

std::vector<std::wstring> SplitArguments(const std::wstring& line) {
    std::vector<std::wstring> arguments;
    size_t i = 0;
    while (true) {
        while (i < line.size() && Blank(line[i])) ++i;
        if (i >= line.size()) break;
        std::wstring argument;
        bool quoted = false;
        while (i < line.size() && (quoted || !Blank(line[i]))) {
            if (line[i] == L'\\') {
                size_t slashes = 0;
                while (i < line.size() && line[i] == L'\\') ++slashes, ++i;
                if (i < line.size() && line[i] == L'"') {
                    argument.append(slashes / 2, L'\\');
                    if (slashes % 2) {
                        argument += L'"';
                        ++i;
                    }
                } else {
                    argument.append(slashes, L'\\');
                }
            } else if (line[i] == L'"') {
                // Two quotes inside a quoted part stand for one.
                if (quoted && i + 1 < line.size() && line[i + 1] == L'"') {
                    argument += L'"';
                    i += 2;
                } else {
                    quoted = !quoted;
                    ++i;
                }
            } else {
                argument += line[i++];
            }
        }
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

ScriptCommand ParseScriptCommand(const wchar_t* commandLine) {
    ScriptCommand command;
    if (!commandLine) return command;
    const std::wstring line = commandLine;
    size_t first = 0;
    while (first < line.size() && Blank(line[first])) ++first;
    if (first == line.size()) return command;
    if (line[first] != L'/' && line[first] != L'-') {
        command.action = ScriptAction::OpenFile;
        command.argument = CleanCommandLine(commandLine);
        return command;
    }
    const std::vector<std::wstring> arguments = SplitArguments(line);
    const std::wstring name = Lower(arguments[0].substr(1));
    command.action = ScriptAction::Usage;
    for (const Switch& s : kSwitches) {
        if (name != s.name) continue;
        for (size_t i = 1; i < arguments.size(); ++i) {
            if (i > 1) command.argument += L' ';
            command.argument += arguments[i];
        }
        command.action =
            s.needsArgument && command.argument.empty() ? ScriptAction::Usage : s.action;
        break;
    }
    if (command.action == ScriptAction::Usage) command.argument.clear();
    return command;
}

std::vector<unsigned char> EncodeScriptPayload(const ScriptCommand& command) {
    if (command.argument.size() > kMaxScriptArgumentUnits) return {};
    return EncodeHandOverPayload(static_cast<wchar_t>(command.action) + command.argument);
}

bool DecodeScriptPayload(const void* data, std::size_t byteCount, ScriptCommand& command) {
    if (!data || byteCount < 4 || byteCount % 2 != 0 ||
        byteCount > (kMaxScriptArgumentUnits + 2) * 2) {
        return false;
    }
    const auto* bytes = static_cast<const unsigned char*>(data);
    const std::size_t units = byteCount / 2;
    // The last code unit is the terminator, and nothing before it may be zero.
    if (bytes[byteCount - 1] != 0 || bytes[byteCount - 2] != 0) return false;
    // Read here rather than as a file hand-over: the action's unit comes on top of
    // the longest argument, which the file hand-over's own limit would refuse.
    std::wstring text(units - 1, L'\0');
    for (std::size_t i = 0; i + 1 < units; ++i) {
        text[i] = static_cast<wchar_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
        if (text[i] == L'\0') return false;
    }
    const auto action = static_cast<ScriptAction>(text[0]);
    if (action < ScriptAction::NewNote || action > ScriptAction::Usage) return false;
    command.action = action;
    command.argument = text.substr(1);
    return true;
}

ScriptCommand WithFullPaths(ScriptCommand command, const std::wstring& startFolder) {
    if (command.action == ScriptAction::ExportNotes)
        command.argument = FullPathFrom(startFolder, command.argument);
    return command;
}
