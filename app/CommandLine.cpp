#include "app/CommandLine.h"

std::wstring CleanCommandLine(const wchar_t* commandLine) {
    std::wstring path;
    if (!commandLine) return path;
    for (const wchar_t* c = commandLine; *c; ++c) {
        if (*c != L'"' && *c != L'\'') path += *c;
    }
    return path;
}

std::vector<unsigned char> EncodeHandOverPayload(const std::wstring& path) {
    std::vector<unsigned char> bytes;
    bytes.reserve((path.size() + 1) * 2);
    for (wchar_t c : path) {
        const auto unit = static_cast<unsigned>(c) & 0xFFFFu;
        bytes.push_back(static_cast<unsigned char>(unit & 0xFFu));
        bytes.push_back(static_cast<unsigned char>(unit >> 8));
    }
    bytes.push_back(0);
    bytes.push_back(0);
    return bytes;
}

std::wstring DecodeHandOverPayload(const void* data, std::size_t byteCount) {
    std::wstring path;
    if (!data) return path;
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i + 1 < byteCount; i += 2) {
        const unsigned unit = bytes[i] | (static_cast<unsigned>(bytes[i + 1]) << 8);
        if (unit == 0) break;
        path += static_cast<wchar_t>(unit);
    }
    return path;
}
