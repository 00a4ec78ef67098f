// Our INI reader and writer against the system's profile functions, over a corpus
// of awkward files: every section and key the files name, and some that are missing,
// must get the same answers from both, before and after we write to the files.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <filesystem>
#include <set>
#include <vector>

#include "support/TestPaths.h"
#include "store/FileIo.h"
#include "store/IniFile.h"
#include "store/TextCodec.h"

namespace {

const wchar_t kNone[] = L"\x1F(none)";

std::wstring CorpusDir() {
    return TestPaths::SourceDir() + L"\\tests\\store\\ini-corpus\\";
}

std::vector<std::wstring> CorpusNames() {
    std::vector<std::wstring> names;
    for (const auto& entry : std::filesystem::directory_iterator(CorpusDir()))
        if (entry.path().extension() == L".ini") names.push_back(entry.path().filename());
    return names;
}

std::wstring Trim(const std::wstring& s) {
    const size_t b = s.find_first_not_of(L" \t");
    return b == std::wstring::npos ? L"" : s.substr(b, s.find_last_not_of(L" \t") - b + 1);
}

std::wstring ProfileRead(const std::wstring& file, const std::wstring& section,
                         const std::wstring& key) {
    std::vector<wchar_t> buffer(65536);
    const DWORD n = GetPrivateProfileStringW(section.c_str(), key.c_str(), kNone, buffer.data(),
                                             static_cast<DWORD>(buffer.size()), file.c_str());
    return std::wstring(buffer.data(), n);
}

// Compares the answers for every name a file could be asked for: taken from its
// lines with a crude scan that does not share the reader's rules, as written and in
// ASCII upper and lower case, plus names that are missing. Returns how many were found.
int CompareAll(const std::wstring& file) {
    static const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version");
    std::string bytes;
    FileIo::ReadFile(file, bytes);
    std::wstring text = TextCodec::Decode(bytes);
    std::replace(text.begin(), text.end(), L'\r', L'\n');
    std::set<std::wstring> names[2] = {{L"", L"Missing", L"Root"}, {L"missing"}};
    for (size_t start = 0, end; start < text.size(); start = end + 1) {
        end = std::min(text.find(L'\n', start), text.size());
        const std::wstring line = Trim(text.substr(start, end - start));
        if (line.empty()) continue;
        if (line[0] == L'[') names[0].insert(Trim(line.substr(1, line.rfind(L']') - 1)));
        names[1].insert(Trim(line.substr(0, line.find(L'='))));
    }
    for (std::set<std::wstring>& set : names) {
        for (std::wstring name : std::set<std::wstring>(set)) {
            for (wchar_t& c : name) c = c < 128 ? towupper(c) : c;
            set.insert(name);
            for (wchar_t& c : name) c = c < 128 ? towlower(c) : c;
            set.insert(name);
        }
    }
    int foundCount = 0;
    for (const std::wstring& section : names[0]) {
        for (const std::wstring& key : names[1]) {
            SCOPED_TRACE("[" + TestPaths::Narrow(section) + "] " + TestPaths::Narrow(key) + " in " +
                         TestPaths::Narrow(file));
            const std::wstring theirs = ProfileRead(file, section, key);
            std::wstring ours;
            const bool found = IniReadString(file, section, key, ours);
            EXPECT_EQ(found, theirs != kNone);
            if (found) {
                EXPECT_EQ(ours, theirs)
                    << TestPaths::Narrow(ours) << " / " << TestPaths::Narrow(theirs);
            }

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

TEST(IniProfile, CorpusFilesAndOurWritesToThemReadTheSame) {
    const std::wstring values[] = {
        // clang-format off
        L"plain", L"  padded  ", L"\"quoted\"", L"", L"a=b", L"447756", L"caf\u00e9", L"'single'",
        L"-12", std::wstring(20000, L'z'), L"\u00e9\u4e2d\xD83D\xDE00 \u0416",
        // clang-format on
    };
    const std::wstring dir = TestPaths::MakeScratchDir();
    size_t next = 0;
    std::vector<std::wstring> names = CorpusNames();
    ASSERT_GE(names.size(), 15u) << TestPaths::Narrow(CorpusDir());
    names.push_back(L"new.ini");  // a file that does not exist yet
    for (const std::wstring& name : names) {
        std::string bytes;
        const std::wstring path = dir + name;
        if (FileIo::ReadFile(CorpusDir() + name, bytes)) {
            EXPECT_GT(CompareAll(CorpusDir() + name), 0) << TestPaths::Narrow(name);
            ASSERT_TRUE(FileIo::WriteFileAtomically(path, bytes));
        } else {
            EXPECT_EQ(CompareAll(path), 0);
        }
        IniDocument doc;
        doc.Load(path);
        const std::vector<std::wstring> sections = doc.SectionNames();
        const std::wstring section = sections.empty() ? L"" : sections.front();
        const std::vector<std::wstring> keys = doc.KeyNames(section);
        // An existing key in another letter case, or a new one; and a new section.
        std::wstring key = keys.empty() ? L"AddedKey" : keys.front();
        for (wchar_t& c : key) c = c < 128 ? towupper(c) : c;
        const std::pair<std::wstring, std::wstring> writes[] = {{section, key},
                                                                {L"Added Section", L"NewKey"}};
        for (const auto& w : writes) {
            const std::wstring& value = values[next++ % (sizeof values / sizeof values[0])];
            SCOPED_TRACE(TestPaths::Narrow(name) + ": [" + TestPaths::Narrow(w.first) + "] " +
                         TestPaths::Narrow(w.second) + "=" + TestPaths::Narrow(value));
            ASSERT_TRUE(IniWriteString(path, w.first, w.second, value));
            EXPECT_EQ(ProfileRead(path, w.first, w.second), value);
            CompareAll(path);
        }
    }
}

}  // namespace
