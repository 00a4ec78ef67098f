#pragma once
// Language files written into scratch folders for the tests.

#include <string>

#include "store/FileIo.h"
#include "store/TextCodec.h"
#include "support/TestPaths.h"

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

// A language file of the given [Text] lines in a new scratch folder; its path.
inline std::wstring WriteTexts(const std::wstring& textLines) {
    return WriteIni(TestPaths::MakeScratchDir(), L"Test.ini", L"[Text]\n" + textLines);
}

}  // namespace LangTest
