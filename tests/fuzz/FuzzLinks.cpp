// A note's text is anything the user typed or pasted: the link scan must finish
// on any text, and every link it lists must be one the shell may be given and
// must come from the text as written.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "notes/Links.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // UTF-16LE code units, as the note holds its text.
    std::wstring text;
    for (size_t i = 0; i + 1 < size; i += 2) {
        text.push_back(static_cast<wchar_t>(data[i] | (data[i + 1] << 8)));
    }
    const std::vector<std::wstring> links = NoteLinks::FindLinks(text);
    if (links.size() > NoteLinks::kMaxLinks) abort();
    for (const std::wstring& link : links) {
        if (!NoteLinks::IsOpenableLink(link)) abort();
        // Written with its scheme, or completed with one in front of "www."
        // or "ftp.": either way the rest stands in the text.
        const bool found = text.find(link) != std::wstring::npos ||
                           text.find(link.substr(7)) != std::wstring::npos ||
                           text.find(link.substr(6)) != std::wstring::npos;
        if (!found) abort();
    }
    return 0;
}
