#pragma once
// Language files written into scratch folders for the tests.

#include <string>

#include "TestPaths.h"
#include "store/FileIo.h"
#include "store/TextCodec.h"

namespace LangTest {

// Writes body (INI lines separated by "\n") as UTF-16LE with a byte-order mark,
// the form in which the profile reader takes any character.
inline std::wstring WriteIni(const std::wstring& folder, const std::wstring& name,
                             const std::wstring& body) {
    std::wstring text;
    for (wchar_t c : body) {
        if (c == L'\n') text += L'\r';
        text += c;
    }
    std::string bytes;
    TextCodec::Encode(text, TextCodec::Encoding::Utf16LeBom, bytes);
    const std::wstring path = folder + name;
    FileIo::WriteFileAtomically(path, bytes);
    return path;
}

}  // namespace LangTest
