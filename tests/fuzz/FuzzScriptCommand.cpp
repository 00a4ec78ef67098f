// Any bytes, as a command line and as a hand-over from another process: parsed
// without a fault, and a decoded command encodes back to the same bytes.
#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <string>

#include "app/ScriptCommand.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::wstring line;
    for (size_t i = 0; i + 1 < size; i += 2) {
        const wchar_t c = static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
        if (c) line += c;
    }
    const ScriptCommand parsed = ParseScriptCommand(line.c_str());
    if (parsed.action == ScriptAction::Usage && !parsed.argument.empty()) abort();
    for (const std::wstring& a : SplitArguments(line))
        if (a.size() > line.size()) abort();

    ScriptCommand decoded;
    if (DecodeScriptPayload(data, size, decoded)) {
        const auto bytes = EncodeScriptPayload(decoded);
        if (bytes.size() != size || !std::equal(bytes.begin(), bytes.end(), data)) abort();
    }
    return 0;
}
