#include "notes/Links.h"

#include <gtest/gtest.h>

namespace {

using NoteLinks::FindLinks;
using NoteLinks::IsOpenableLink;
using Links = std::vector<std::wstring>;

TEST(LinksTest, ScanFindsGroupsAndCompletesAddresses) {
    struct {
        std::wstring text;
        Links found;
    } cases[] = {
        {L"", {}},
        {L"no addresses here", {}},
        {L"go to www.example.com now", {L"http://www.example.com"}},
        {L"ftp.example.org", {L"ftp://ftp.example.org"}},
        // Grouped by pattern, not in text order.
        {L"ftp://f.org www.w.com http://h.com",
         {L"http://h.com", L"http://www.w.com", L"ftp://f.org"}},
        // A "www." part directly after its scheme is listed once, as written.
        {L"http://www.example.com", {L"http://www.example.com"}},
        {L"ftp://ftp.example.org", {L"ftp://ftp.example.org"}},
        // The same address written twice, once without its scheme.
        {L"www.a.com and http://www.a.com", {L"http://www.a.com", L"http://www.a.com"}},
        // Only the scheme that belongs to "ftp." covers it.
        {L"http://ftp.a.org", {L"http://ftp.a.org", L"ftp://ftp.a.org"}},
        // Delimiters end an address; the end of the text does too.
        {L"a\thttp://x.com\r\nb http://y.com\nhttp://z.com",
         {L"http://x.com", L"http://y.com", L"http://z.com"}},
        // Other control characters and kinds of space end an address too.
        {std::wstring(L"http://a.com\x0B http://b.com") + L'\0' +
             L"x www.c.com\xA0x www.d.com\x3000",
         {L"http://a.com", L"http://b.com", L"http://www.c.com", L"http://www.d.com"}},
        // Each end of the ranges of characters that end an address, and the
        // characters just outside them, which do not.
        {L"http://a.com/\x1FFF www.b.com\x200Bx www.c.com\x2000x http://d\x200C.com\x2029x "
         L"http://e.com/~x!\x7F http://f.com\x2028 http://g.com\xFEFF http://h.com\x3000",
         {L"http://a.com/\x1FFF", L"http://d\x200C.com", L"http://e.com/~x!", L"http://f.com",
          L"http://g.com", L"http://h.com", L"http://www.b.com", L"http://www.c.com"}},
        // The secure scheme is kept as written and not listed a second time.
        {L"https://www.bank.com/login", {L"https://www.bank.com/login"}},
        {L"https://secure.example.com", {L"https://secure.example.com"}},
        // Schemes in any letter case, kept as written.
        {L"HTTP://WWW.SHOUT.COM", {L"HTTP://WWW.SHOUT.COM"}},
        {L"Www.Mixed.com FTP://f.org Ftp.x.org",
         {L"http://Www.Mixed.com", L"FTP://f.org", L"ftp://Ftp.x.org"}},
        // What the sentence puts after an address is not part of it.
        {L"See www.a.com, www.b.com. Or www.c.com; www.d.com: fine",
         {L"http://www.a.com", L"http://www.b.com", L"http://www.c.com", L"http://www.d.com"}},
        {L"(see http://x.com/page).", {L"http://x.com/page"}},
        {L"\"http://q.com\" and 'www.r.com' and \x201Chttp://s.com\x201D",
         {L"http://q.com", L"http://s.com", L"http://www.r.com"}},
        {L"http://en.example.org/wiki/Foo_(bar)", {L"http://en.example.org/wiki/Foo_(bar)"}},
        {L"[http://x.com/a[1]]", {L"http://x.com/a[1]"}},
        {L"(http://x.com/a(b)) {www.y.com/{z}}", {L"http://x.com/a(b)", L"http://www.y.com/{z}"}},
        {L"<http://x.com/?q=1&r=2>", {L"http://x.com/?q=1&r=2"}},
        // A full stop inside the address stays.
        {L"http://x.com/a.b.html.", {L"http://x.com/a.b.html"}},
        // A scheme with nothing after it names nothing.
        {L"http:// www. ftp://. www.ok.com", {L"http://www.ok.com"}},
    };
    for (const auto& c : cases) EXPECT_EQ(c.found, FindLinks(c.text)) << c.text.c_str();
}

TEST(LinksTest, ListIsCappedSoItemIdsStayInTheirRange) {
    std::wstring text;
    for (int i = 0; i < 150; ++i) text += L"www.site" + std::to_wstring(i) + L".com ";
    const Links links = FindLinks(text);
    ASSERT_EQ(NoteLinks::kMaxLinks, links.size());
    EXPECT_EQ(L"http://www.site0.com", links.front());
    EXPECT_EQ(L"http://www.site99.com", links.back());
}

// Hostile texts: a long run of closing brackets once froze the menu for
// seconds (every bracket dropped counted the whole address again); an address
// longer than browsers take is not listed, and the ones after it still are.
TEST(LinksTest, LongAddressesAndBracketRunsAreCappedAndTrimmedInOnePass) {
    EXPECT_EQ(FindLinks(L"http://a" + std::wstring(262000, L')')), Links{L"http://a"});
    EXPECT_EQ(FindLinks(L"(www.a.org/(b)" + std::wstring(5000, L')') + L"]."),
              Links{L"http://www.a.org/(b)"});
    EXPECT_EQ(FindLinks(L"http://a/" + std::wstring(1000, L'(') + std::wstring(1000, L')') + L"))"),
              Links{L"http://a/" + std::wstring(1000, L'(') + std::wstring(1000, L')')});

    const std::wstring longest =
        L"http://a.com/" + std::wstring(NoteLinks::kMaxLinkLength - 13, L'x');
    ASSERT_EQ(longest.size(), NoteLinks::kMaxLinkLength);
    EXPECT_EQ(FindLinks(longest + L")."), Links{longest});
    EXPECT_EQ(FindLinks(longest + L"y www.b.com " + longest),
              (Links{longest, L"http://www.b.com"}));
    // A megabyte without a single delimiter after a scheme gives nothing to open.
    EXPECT_TRUE(FindLinks(L"www." + std::wstring(1 << 20, L'w')).empty());
}

TEST(LinksTest, OnlyWebAndFtpAddressesMayBeOpened) {
    struct {
        const wchar_t* link;
        bool openable;
    } cases[] = {
        {L"http://x.com", true},
        {L"HTTPS://x.com/a?b=c", true},
        {L"ftp://f.org/file.txt", true},
        {L"http://", false},
        {L"file:///C:/Windows/System32/calc.exe", false},
        {L"C:\\Windows\\notepad.exe", false},
        {L"javascript:alert(1)", false},
        {L"mailto:a@b.com", false},
        {L"www.x.com", false},
        {L"http://x.com rm", false},
        {L"http://x.com\nnext", false},
        {L"http://x.com\xA0y", false},
        {L" http://x.com", false},
        {L"", false},
    };
    for (const auto& c : cases) EXPECT_EQ(c.openable, IsOpenableLink(c.link)) << c.link;
    // Everything the scan lists may be opened.
    for (const auto& link : FindLinks(L"www.a.com ftp.b.org HTTPS://c.com ftp://d.org http://e"))
        EXPECT_TRUE(IsOpenableLink(link)) << link;
}

}  // namespace
