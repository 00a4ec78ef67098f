#pragma once
// Web and FTP addresses written in a note's text, for the note menu's Links
// submenu. Links are found afresh each time the menu opens; they are never
// marked in the text itself.

#include <cstddef>
#include <string>
#include <vector>

namespace NoteLinks {

// The submenu's items have identifiers from IDM_FIRST_LINK up; keeping the list
// this short keeps them clear of every other command of the note menu.
constexpr size_t kMaxLinks = 100;

// The longest address listed, as written (the longest most browsers open). A
// longer run of characters after a scheme is not offered as a link at all: a
// cut address would open another page.
constexpr size_t kMaxLinkLength = 2083;

// The addresses in `text`, grouped by how they were written: "http://" ones
// first, then "https://", then "www." (listed with "http://" in front), then
// "ftp://", then "ftp." (listed with "ftp://" in front); within a group in text
// order. Schemes are found in any letter case and listed as written. An address
// ends at a space, tab, CR or LF (or any other control character or kind of
// space, none of which can stand in an address), and a full stop, comma, semicolon, colon,
// quote or closing bracket at its very end belongs to the sentence, not to it
// (a closing bracket that closes one opened inside the address stays). A "www."
// or "ftp." directly after its own scheme was listed with the scheme already.
// At most kMaxLinks are returned, none longer than kMaxLinkLength; the same
// address written twice is listed twice. The work grows with the text's length,
// never with its square.
std::vector<std::wstring> FindLinks(const std::wstring& text);

// Whether `link` may be handed to the shell: an "http://", "https://" or
// "ftp://" address (any letter case) with something after the scheme and
// nothing that ends an address in the scan. Anything else could name a program or a file.
bool IsOpenableLink(const std::wstring& link);

}  // namespace NoteLinks
