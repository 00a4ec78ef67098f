// Our INI reader and writer against the system's profile functions, over a corpus
// of awkward files: every section and key the files name (in several letter cases),
// and some that are missing, must get the same answers from both; files that we
// write must read back the same through the profile functions.
#include <windows.h>

#include <gtest/gtest.h>

#include <cwctype>
#include <set>
#include <vector>

#include "TestPaths.h"
#include "store/FileIo.h"
#include "store/IniFile.h"
#include "store/TextCodec.h"

namespace {

const wchar_t kNone[] = L"\x1F(none)";
constexpr DWORD kBufferChars = 65536;

std::wstring CorpusDir() {
    return TestPaths::SourceDir() + L"\\tests\\store\\ini-corpus\\";
}

std::vector<std::wstring> CorpusNames() {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((CorpusDir() + L"*.ini").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return names;
    do names.push_back(found.cFileName);
    while (FindNextFileW(find, &found));
    FindClose(find);
    return names;
}

std::wstring Trim(const std::wstring& s) {
    const size_t b = s.find_first_not_of(L" \t");
    return b == std::wstring::npos ? L"" : s.substr(b, s.find_last_not_of(L" \t") - b + 1);
}

// ASCII text as it stands, other code units as \uXXXX; long texts cut short.
std::string Show(const std::wstring& s) {
    std::string out;
    for (wchar_t c : s.substr(0, 60)) {
        char hex[8];
        snprintf(hex, sizeof hex, "\\u%04x", static_cast<unsigned>(c));
        out += c >= 32 && c < 127 ? std::string(1, static_cast<char>(c)) : hex;
    }
    return s.size() > 60 ? out + "..." : out;
}

std::wstring ProfileRead(const std::wstring& file, const std::wstring& section,
                         const std::wstring& key) {
    std::vector<wchar_t> buffer(kBufferChars);
    const DWORD n = GetPrivateProfileStringW(section.c_str(), key.c_str(), kNone, buffer.data(),
                                             kBufferChars, file.c_str());
    return std::wstring(buffer.data(), n);
}

std::wstring AsciiCase(std::wstring s, bool upper) {
    for (wchar_t& c : s) {
        if (c < 128) c = upper ? towupper(c) : towlower(c);
    }
    return s;
}

// Every name a file could be asked for, taken from its lines with a crude scan that
// does not share the reader's rules, as written and in upper and lower case; plus
// names that are missing.
void Candidates(const std::wstring& file, std::set<std::wstring>& sections,
                std::set<std::wstring>& keys) {
    std::string bytes;
    FileIo::ReadFile(file, bytes);
    const std::wstring text = TextCodec::Decode(bytes);
    sections = {L"", L"Missing", L"Root"};
    keys = {L"missing"};
    for (size_t start = 0; start <= text.size();) {
        size_t end = text.find_first_of(L"\r\n", start);
        if (end == std::wstring::npos) end = text.size();
        const std::wstring line = Trim(text.substr(start, end - start));
        start = end + 1;
        if (line.empty()) continue;
        if (line[0] == L'[') {
            const size_t close = line.rfind(L']');
            sections.insert(Trim(line.substr(1, close == std::wstring::npos ? close : close - 1)));
        }
        keys.insert(Trim(line.substr(0, line.find(L'='))));
    }
    for (std::set<std::wstring>* names : {&sections, &keys}) {
        for (const std::wstring& name : std::set<std::wstring>(*names)) {
            names->insert(AsciiCase(name, true));
            names->insert(AsciiCase(name, false));
        }
    }
}

// Compares the answers for every candidate; returns how many keys were found.
int CompareAll(const std::wstring& file) {
    static const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version");
    std::set<std::wstring> sections, keys;
    Candidates(file, sections, keys);
    int foundCount = 0;
    for (const std::wstring& section : sections) {
        for (const std::wstring& key : keys) {
            SCOPED_TRACE("[" + Show(section) + "] " + Show(key) + " in " + Show(file));
            const std::wstring theirs = ProfileRead(file, section, key);
            std::wstring ours;
            const bool found = IniReadString(file, section, key, ours);
            EXPECT_EQ(found, theirs != kNone);
            if (found) EXPECT_EQ(ours, theirs) << Show(ours) << " / " << Show(theirs);

            UINT expected = IniReadInt(file, section, key, 447756);
            // Wine gives the default for a key whose value is empty; Windows gives 0,
            // which is what we do.
            if (wine && found && ours.empty()) expected = 447756;
            EXPECT_EQ(GetPrivateProfileIntW(section.c_str(), key.c_str(), 447756, file.c_str()),
                      expected);
            foundCount += found ? 1 : 0;
        }
    }
    return foundCount;
}

class IniProfileTest : public ::testing::Test {
protected:
    std::wstring dir_ = TestPaths::MakeScratchDir();
};

TEST_F(IniProfileTest, CorpusReadsTheSame) {
    const std::vector<std::wstring> names = CorpusNames();
    ASSERT_GE(names.size(), 15u) << Show(CorpusDir());
    for (const std::wstring& name : names)
        EXPECT_GT(CompareAll(CorpusDir() + name), 0) << Show(name);
    EXPECT_EQ(CompareAll(dir_ + L"does-not-exist.ini"), 0);
}

TEST_F(IniProfileTest, WrittenFilesReadTheSame) {
    const std::wstring values[] = {
        // clang-format off
        L"plain", L"  padded  ", L"\"quoted\"", L"", L"a=b", L"447756", L"\u00e9\u4e2d\u03b1",
        L"caf\u00e9", L"'single'", L"-12", std::wstring(20000, L'z'),
        // clang-format on
    };
    size_t next = 0;
    for (const std::wstring& name : CorpusNames()) {
        std::string bytes;
        ASSERT_TRUE(FileIo::ReadFile(CorpusDir() + name, bytes));
        const std::wstring path = dir_ + name;
        ASSERT_TRUE(FileIo::WriteFileAtomically(path, bytes));
        IniDocument doc;
        ASSERT_TRUE(doc.Load(path));
        const std::vector<std::wstring> sections = doc.SectionNames();
        const std::wstring section = sections.empty() ? L"" : sections.front();
        const std::vector<std::wstring> keys = doc.KeyNames(section);
        std::vector<std::pair<std::wstring, std::wstring>> writes = {{section, L"AddedKey"},
                                                                     {L"Added Section", L"NewKey"}};
        if (!keys.empty()) writes.insert(writes.begin(), {section, AsciiCase(keys.front(), true)});
        for (const auto& w : writes) {
            const std::wstring& value = values[next++ % (sizeof values / sizeof values[0])];
            SCOPED_TRACE(Show(name) + ": [" + Show(w.first) + "] " + Show(w.second) + "=" +
                         Show(value));
            ASSERT_TRUE(IniWriteString(path, w.first, w.second, value));
            EXPECT_EQ(ProfileRead(path, w.first, w.second), value);
            CompareAll(path);
        }
    }
}

TEST_F(IniProfileTest, NewFilesHoldEveryCharacter) {
    const std::wstring path = dir_ + L"new.ini";
    const std::wstring text = L"\u00e9\u4e2d\u03b1\xD83D\xDE00 \u0416";
    ASSERT_TRUE(IniWriteString(path, L"Settings", L"SkinName", text));
    ASSERT_TRUE(IniWriteString(path, L"Root", L"ShowNotes", L"1"));
    EXPECT_EQ(ProfileRead(path, L"Settings", L"SkinName"), text);
    EXPECT_EQ(GetPrivateProfileIntW(L"Root", L"ShowNotes", 9, path.c_str()), 1u);
    CompareAll(path);
}

}  // namespace
