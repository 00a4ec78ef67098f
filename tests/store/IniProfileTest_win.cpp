// Our INI reader and writer against the system's profile functions, over a corpus
// of awkward files: every section and key the files name (in several letter cases),
// and some that are missing, must get the same answers from both; files that we
// write must read back the same through the profile functions.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "TestPaths.h"
#include "store/FileIo.h"
#include "store/IniFile.h"
#include "store/TextCodec.h"

namespace {

const wchar_t kNone[] = L"\x1F(none)";
constexpr DWORD kBufferChars = 65536;

const wchar_t* const kCorpus[] = {
    L"ansi.ini",       L"case.ini",          L"comments.ini",  L"cr-only.ini",
    L"duplicates.ini", L"empty-values.ini",  L"headers.ini",   L"lf-only.ini",
    L"long-value.ini", L"mixed-endings.ini", L"no-equals.ini", L"no-final-newline.ini",
    L"numbers.ini",    L"quotes.ini",        L"spaces.ini",    L"utf16-bom.ini",
    L"utf8-bom.ini",
};

bool RunningOnWine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

std::wstring CorpusPath(const wchar_t* name) {
    return TestPaths::SourceDir() + L"\\tests\\store\\ini-corpus\\" + name;
}

std::wstring Trim(const std::wstring& s) {
    const size_t b = s.find_first_not_of(L" \t");
    if (b == std::wstring::npos) return L"";
    return s.substr(b, s.find_last_not_of(L" \t") - b + 1);
}

std::wstring AsciiCase(std::wstring s, bool upper) {
    for (wchar_t& c : s) {
        if (upper && c >= L'a' && c <= L'z') c -= 32;
        if (!upper && c >= L'A' && c <= L'Z') c += 32;
    }
    return s;
}

// Every name a file could be asked for, taken from its lines with a crude scan that
// does not share the reader's rules, in three letter cases; plus names that are missing.
void Candidates(const std::wstring& file, std::vector<std::wstring>& sections,
                std::vector<std::wstring>& keys) {
    std::string bytes;
    FileIo::ReadFile(file, bytes);
    const std::wstring text = TextCodec::Decode(bytes);
    std::set<std::wstring> s = {L"", L"Missing", L"Root"};
    std::set<std::wstring> k = {L"missing"};
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find_first_of(L"\r\n", start);
        if (end == std::wstring::npos) end = text.size();
        const std::wstring line = Trim(text.substr(start, end - start));
        start = end + 1;
        if (line.empty()) continue;
        if (line[0] == L'[') {
            const size_t close = line.rfind(L']');
            s.insert(
                Trim(line.substr(1, close == std::wstring::npos ? std::wstring::npos : close - 1)));
        }
        const size_t eq = line.find(L'=');
        k.insert(eq == std::wstring::npos ? line : Trim(line.substr(0, eq)));
    }
    for (const std::wstring& name : std::set<std::wstring>(s)) {
        s.insert(AsciiCase(name, true));
        s.insert(AsciiCase(name, false));
    }
    for (const std::wstring& name : std::set<std::wstring>(k)) {
        k.insert(AsciiCase(name, true));
        k.insert(AsciiCase(name, false));
    }
    sections.assign(s.begin(), s.end());
    keys.assign(k.begin(), k.end());
}

std::string Show(const std::wstring& s) {
    std::string out;
    for (wchar_t c : s.substr(0, 60)) {
        if (c >= 32 && c < 127) {
            out += static_cast<char>(c);
        } else {
            char hex[12];
            snprintf(hex, sizeof(hex), "\\u%04x", static_cast<unsigned>(c));
            out += hex;
        }
    }
    return s.size() > 60 ? out + "..." : out;
}

// Compares the answers for every candidate; returns how many keys were found.
int CompareAll(const std::wstring& file) {
    static const bool wine = RunningOnWine();
    std::vector<std::wstring> sections, keys;
    Candidates(file, sections, keys);
    std::vector<wchar_t> buffer(kBufferChars);
    int foundCount = 0;
    for (const std::wstring& section : sections) {
        for (const std::wstring& key : keys) {
            SCOPED_TRACE("[" + Show(section) + "] " + Show(key) + " in " + Show(file));
            const DWORD n = GetPrivateProfileStringW(section.c_str(), key.c_str(), kNone,
                                                     buffer.data(), kBufferChars, file.c_str());
            const std::wstring theirs(buffer.data(), n);
            std::wstring ours;
            const bool found = IniReadString(file, section, key, ours);
            EXPECT_EQ(found, theirs != kNone);
            if (found) {
                EXPECT_EQ(Show(ours), Show(theirs));
                EXPECT_EQ(ours, theirs);
            }

            const UINT theirInt =
                GetPrivateProfileIntW(section.c_str(), key.c_str(), 447756, file.c_str());
            UINT expected = IniReadInt(file, section, key, 447756);
            // Wine gives the default for a key whose value is empty; Windows gives 0,
            // which is what we do.
            if (wine && found && ours.empty()) expected = 447756;
            EXPECT_EQ(theirInt, expected);
            foundCount += found ? 1 : 0;
        }
    }
    return foundCount;
}

class IniProfileTest : public ::testing::Test {
protected:
    std::wstring Copy(const wchar_t* name) {
        std::string bytes;
        EXPECT_TRUE(FileIo::ReadFile(CorpusPath(name), bytes));
        const std::wstring path = dir_ + L"copy-" + std::to_wstring(++copies_) + L"-" + name;
        EXPECT_TRUE(FileIo::WriteFileAtomically(path, bytes));
        return path;
    }

    std::wstring ProfileRead(const std::wstring& file, const std::wstring& section,
                             const std::wstring& key) {
        std::vector<wchar_t> buffer(kBufferChars);
        const DWORD n = GetPrivateProfileStringW(section.c_str(), key.c_str(), kNone, buffer.data(),
                                                 kBufferChars, file.c_str());
        return std::wstring(buffer.data(), n);
    }

    std::wstring dir_ = TestPaths::MakeScratchDir();
    int copies_ = 0;
};

TEST_F(IniProfileTest, CorpusReadsTheSame) {
    for (const wchar_t* name : kCorpus) {
        const std::wstring path = CorpusPath(name);
        ASSERT_TRUE(FileIo::FileExists(path)) << Show(path);
        EXPECT_GT(CompareAll(path), 0) << Show(name);
    }
    EXPECT_EQ(CompareAll(dir_ + L"does-not-exist.ini"), 0);
}

TEST_F(IniProfileTest, WrittenFilesReadTheSame) {
    const std::wstring values[] = {
        L"plain",
        L"  padded  ",
        L"\"quoted\"",
        L"",
        L"a=b",
        L"447756",
        L"\u00e9\u4e2d\u03b1",
        L"caf\u00e9",
        L"'single'",
        L"-12",
        std::wstring(20000, L'z'),
    };
    size_t next = 0;
    for (const wchar_t* name : kCorpus) {
        const std::wstring path = Copy(name);
        IniDocument doc;
        ASSERT_TRUE(doc.Load(path));
        std::vector<std::wstring> sections = doc.SectionNames();
        const std::wstring section = sections.empty() ? L"" : sections.front();
        std::vector<std::wstring> keys = doc.KeyNames(section);

        struct Write {
            std::wstring section, key;
        };
        std::vector<Write> writes = {{section, L"AddedKey"}, {L"Added Section", L"NewKey"}};
        if (!keys.empty()) writes.insert(writes.begin(), {section, AsciiCase(keys.front(), true)});
        for (const Write& w : writes) {
            const std::wstring& value = values[next++ % (sizeof(values) / sizeof(values[0]))];
            SCOPED_TRACE(Show(name) + ": [" + Show(w.section) + "] " + Show(w.key) + "=" +
                         Show(value));
            ASSERT_TRUE(IniWriteString(path, w.section, w.key, value));
            EXPECT_EQ(ProfileRead(path, w.section, w.key), value);
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
