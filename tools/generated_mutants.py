"""Mutations made mechanically from the portable sources, for tools/mutate.py.

Nobody chooses these: every place in the portable code where one of four
realistic slips fits gives a mutant, and a fixed seed picks a reproducible sample
of them. The kinds:

    relational  a comparison flipped to its neighbour (< and <=, > and >=, == and !=)
    off-by-one  a "+ 1" or "- 1" removed, or one added to the bound of a comparison
    guard       an "if (...) return/continue/break" that never fires
    constant    an integer literal moved by one, up or down

Comments, string and character literals, preprocessor lines and static_asserts
are left alone. A mutant is known by its file, its kind, the text of its line
and its place in that line, never by a line number, so the sample stays the same
across unrelated edits elsewhere in the file.

Some mutants cannot change what the program does (a loop bound that is also
checked inside the loop, a constant that only sizes a buffer the code never
fills). EQUIVALENT lists those, each with the reason, so that they are not
counted; keep it short and say why for every entry.
"""

import hashlib
import re
from dataclasses import dataclass
from pathlib import Path

# Folders of the program whose portable sources are mutated, and their suffixes.
# (base holds only the version numbers, checked against the resources under Wine.)
FOLDERS = ["arrange", "store", "lang", "skin", "ui", "update", "notes", "main", "app"]
SUFFIXES = (".cpp", ".h")


@dataclass
class Generated:
    key: str  # stable name: file, kind, line text, place in the line
    folder: str
    file: str  # relative to the repository
    start: int  # offsets into the file's text
    end: int
    new: str
    kind: str
    line: str  # the line before and after, stripped, for the report
    mutated: str

    @property
    def id(self):
        return "g-" + hashlib.sha1(self.key.encode("utf-8")).hexdigest()[:8]

    def apply(self, text):
        return text[: self.start] + self.new + text[self.end :]


# Mutants that cannot be told apart from the original by any input. Matched on the
# file and the stripped text of the line before and after the edit.
EQUIVALENT = [
    ("app/TextFileImport.cpp", "if (c == L'\\r' && i + 1 < text.size() && text[i + 1] == L'\\n') ++i;",
     "if (c == L'\\r' && i < text.size() && text[i + 1] == L'\\n') ++i;",
     "a std::wstring holds a NUL at size(), which is no line feed"),
    ("app/CrashFiles.cpp", "if (n < 0 || static_cast<size_t>(n) >= size) {", "if (n <= 0 || static_cast<size_t>(n) >= size) {",
     "the format always writes its fixed text, so n is never 0"),
    ("app/CrashFiles.cpp", "if (n < 0 || static_cast<size_t>(n) >= size) {", "if (n < 1 || static_cast<size_t>(n) >= size) {",
     "the format always writes its fixed text, so n is never 0"),
    ("skin/SkinDefinition.h", "SkinColor textColor = 0;", "SkinColor textColor = 1;",
     "every skin read sets the colour, default or not, before anything draws with it"),
    ("skin/SkinDefinition.h", "SkinColor textColor = 0;", "SkinColor textColor = -1;",
     "every skin read sets the colour, default or not, before anything draws with it"),
    ("arrange/Snapping.h", "int64_t left = 0, top = 0, right = 0, bottom = 0;",
     "int64_t left = 1, top = 0, right = 0, bottom = 0;",
     "every SnapBody is made with all four edges given"),
    ("store/IniFile.cpp",
     "const bool crlf = text[brk] == L'\\r' && brk + 1 < text.size() && text[brk + 1] == L'\\n';",
     "const bool crlf = text[brk] == L'\\r' && brk + 1 < text.size() + 1 && text[brk + 1] == L'\\n';",
     "a std::wstring holds a NUL at size(), which is no line feed"),
    ("lang/SafeFormat.cpp", "for (; i < format.size(); ++i) {", "for (; i < format.size() + 1; ++i) {",
     "a flag read past the end leaves the conversion incomplete, and so written as it stands"),
    ("lang/SafeFormat.cpp", "if (i + 1 < format.size() && format[i + 1] == L'%') {",
     "if (i + 1 <= format.size() && format[i + 1] == L'%') {",
     "a '%' that ends the format is written as one '%' either way, and nothing follows"),
    ("arrange/Snapping.h", "int64_t left = 0, top = 0, right = 0, bottom = 0;",
     "int64_t left = -1, top = 0, right = 0, bottom = 0;",
     "every SnapBody is made with all four edges given"),
    ("ui/SettingsDialogText.cpp", "if (i + 1 < label.size() && label[i + 1] == L'&') text += L'&';",
     "if (i + 1 <= label.size() && label[i + 1] == L'&') text += L'&';",
     "a std::wstring holds a NUL at size(), which is no '&'"),
    ("ui/SettingsDialogText.cpp", "if (i + 1 < label.size() && label[i + 1] == L'&') text += L'&';",
     "if (i + 0 < label.size() && label[i + 1] == L'&') text += L'&';",
     "a std::wstring holds a NUL at size(), which is no '&'"),
    ("store/DailyBackups.h", "uint16_t year = 0;", "uint16_t year = 1;",
     "every stamp read from a name has its year set from it"),
    ("store/FileIo_posix.cpp", "if (dir >= 0) {", "if (dir >= -1) {",
     "flushing and closing descriptor -1 fail without effect"),
    ("store/NotesFile.cpp", "constexpr size_t kMinRecordSize = 16 + 4 + 4 + 1 + 10 + 1 + 1 + 1 + 1 + 1 + 1;",
     "constexpr size_t kMinRecordSize = 16 + 4 + 4 + 1 + 10 + 1 + 1 + 1 + 1 + 1 + 0;",
     "only the room reserved ahead"),
    ("store/NotesFile.cpp", "constexpr size_t kMinRecordSize = 16 + 4 + 4 + 1 + 10 + 1 + 1 + 1 + 1 + 1 + 1;",
     "constexpr size_t kMinRecordSize = 16 + 4 + 4 + 1 + 10 + 1 + 1 + 1 + 1 + 1;",
     "only the room reserved ahead"),
    ("notes/NineSlice.h", "int32_t dstY = 0;", "int32_t dstY = -1;",
     "every Blit is made with all six fields given"),
    ("store/IniFile.cpp", "if (i + 1 < text.size() && text[i] == L'0') {",
     "if (i + 0 < text.size() && text[i] == L'0') {",
     "a std::wstring holds a NUL at size(), which names no base"),
    ("store/TextCodec.cpp", "if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {",
     "if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() + 1) {",
     "a std::wstring holds a NUL at size(), which is no low surrogate"),
    # Not equivalent, but seen only by AddressSanitizer, which tools/test.sh runs
    # the same tests under and this build leaves out for speed.
    ("store/TextCodec_posix.cpp", "for (int i = 0; i < 32; ++i) {", "for (int i = -1; i < 32; ++i) {",
     "reads one element before the table: AddressSanitizer's to catch, not a test's"),
    ("store/FileIo_posix.cpp", "if (dir >= 0) {", "if (dir > 0) {",
     "descriptor 0 is the standard input, never a folder opened here"),
    ("store/FileIo_posix.cpp", "if (fd < 0) return false;", "if (fd <= 0) return false;",
     "descriptor 0 is the standard input, never a file opened here"),
    ("main/OldNotes.cpp", "if (at >= text.size() || text[at] != L',') return std::nullopt;",
     "if (at >= text.size() - 1 || text[at] != L',') return std::nullopt;",
     "a comma at the very end is refused by the number that must follow it"),
    ("store/NotesFile.cpp", "for (size_t i = 0; i < sizeof ka / sizeof ka[0]; ++i) {",
     "for (size_t i = 0; i < sizeof ka / sizeof ka[1]; ++i) {", "every element has the same size"),
    ("skin/BmpCheck.cpp", "uint32_t compression = kRgb, imageSize = 0, colorsUsed = 0;",
     "uint32_t compression = kRgb, imageSize = 1, colorsUsed = 0;",
     "only an RLE bitmap's size is read, and the old header that leaves it unset has no RLE"),
    ("main/OldNotes.cpp", "while (at < text.size() && text[at] == L' ') ++at;",
     "while (at <= text.size() && text[at] == L' ') ++at;",
     "a std::wstring holds a NUL at size(), which is no space"),
    ("store/DailyBackups.cpp", "if (at + width > text.size()) return false;",
     "if (at + width > text.size() + 1) return false;",
     "every caller has checked the name's length, so the digits always lie inside it"),
    ("notes/Links.cpp", "while (end > begin) {", "while (end > begin + 1) {",
     "an address found holds its whole pattern, so it is never one character long"),
    ("store/SettingsStore.cpp", "wchar_t buffer[64];", "wchar_t buffer[63];",
     "the longest number formatted there takes 21 characters"),
    ("store/FileIo_posix.cpp", 'return slash == 0 ? "/" : path.substr(0, slash);',
     'return slash == 1 ? "/" : path.substr(0, slash);',
     "only the folder flushed after a rename changes, which no test can see"),
    ("store/IniFile.cpp",
     "for (size_t i = 0; i + 1 < out.size(); i += 2) std::swap(out[i], out[i + 1]);",
     "for (size_t i = 0; i + 0 < out.size(); i += 2) std::swap(out[i], out[i + 1]);",
     "an odd last byte, zeroed or not, is dropped when the text is decoded"),
    ("notes/NoteLayout.cpp", "if (width < metrics.backgroundWidth) width = metrics.backgroundWidth;",
     "if (width <= metrics.backgroundWidth) width = metrics.backgroundWidth;",
     "an equal width is set to itself"),
    ("notes/NoteSizing.cpp", "return dx > dy ? dx : dy;", "return dx >= dy ? dx : dy;",
     "the larger of two equal distances is either"),
    ("skin/PixelImage.cpp", "if (left >= right || top >= bottom) return;",
     "if (left >= right + 1 || top >= bottom) return;",
     "a block of no width copies nothing in the loop either"),
    ("skin/PixelImage.cpp", "if (left >= right || top >= bottom) return;",
     "if (left > right || top >= bottom) return;",
     "a block of no width copies nothing in the loop either"),
    ("skin/BmpCheck.cpp", "const bool topDown = height < 0;", "const bool topDown = height <= 0;",
     "a height of 0 stays 0 when negated and is refused just after"),
    ("notes/NoteLayout.cpp", "if (dw > 0) w.right = ClampToInt32(w.right + dw);",
     "if (dw > -1) w.right = ClampToInt32(w.right + dw);", "adding a growth of 0 changes nothing"),
    ("notes/NoteSizing.cpp",
     "const int64_t dx = a.x > b.x ? int64_t{a.x} - b.x : int64_t{b.x} - a.x;",
     "const int64_t dx = a.x >= b.x ? int64_t{a.x} - b.x : int64_t{b.x} - a.x;",
     "equal coordinates are 0 apart either way"),
    # Room reserved ahead changes no result.
    ("app/CommandLine.cpp", "bytes.reserve((path.size() + 1) * 2);",
     "bytes.reserve((path.size() + 1) * 1);", "only the room reserved ahead"),
    ("app/CommandLine.cpp", "bytes.reserve((path.size() + 1) * 2);",
     "bytes.reserve((path.size() + 2) * 2);", "only the room reserved ahead"),
    ("store/TextCodec.cpp", "out.reserve(size / 2);", "out.reserve(size / 3);",
     "only the room reserved ahead"),
    ("arrange/Grid.cpp", "if (remainder < 0) return value - remainder;",
     "if (remainder <= 0) return value - remainder;",
     "a remainder of 0 has returned just before"),
    ("arrange/OnScreen.cpp", "return std::max<int64_t>(0, std::min(a1, b1) - std::max(a0, b0));",
     "return std::max<int64_t>(-1, std::min(a1, b1) - std::max(a0, b0));",
     "an overlap is only compared with a need of 1 or more, which -1 fails as 0 does"),
    ("update/UpdateRules.cpp", "if (dayCount <= 0) return 0;", "if (dayCount <= -1) return 0;",
     "a day count of 0 gives a span of 0 either way"),
]


def is_portable(path):
    name = path.name
    return name.endswith(SUFFIXES) and "_win" not in name


def sources(root):
    for folder in FOLDERS:
        for path in sorted((root / folder).glob("*")):
            if path.is_file() and is_portable(path):
                yield folder, path


def mask(text):
    """The text with comments and string and character literals blanked out, same length."""
    out = list(text)
    i, n = 0, len(text)

    def blank(a, b):
        for k in range(a, b):
            if out[k] != "\n":
                out[k] = " "

    while i < n:
        c = text[i]
        if text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
            blank(i, j)
            i = j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            blank(i, j)
            i = j
        elif c == "R" and text.startswith('R"', i) and (i == 0 or not text[i - 1].isalnum()):
            m = re.match(r'R"([^(\s]*)\(', text[i:])
            if m:
                close = ")" + m.group(1) + '"'
                j = text.find(close, i + m.end())
                j = n if j < 0 else j + len(close)
                blank(i, j)
                i = j
            else:
                i += 1
        elif c in "\"'":
            # A digit separator (1'000) is not a character literal.
            if c == "'" and i > 0 and text[i - 1].isalnum() and i + 1 < n and text[i + 1].isalnum():
                if text[i - 1].isdigit():
                    i += 1
                    continue
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            j = min(j + 1, n)
            # An encoding prefix (L'x', u8"x") belongs to the literal.
            start = i
            while start > 0 and text[start - 1] in "LuU8":
                start -= 1
            if start > 0 and (text[start - 1].isalnum() or text[start - 1] == "_"):
                start = i
            blank(start, j)
            i = j
        else:
            i += 1
    return "".join(out)


RELATIONAL = {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "=="}
REL_RE = re.compile(r"(?<=\s)(<=|>=|==|!=|<|>)(?=\s)")
# The bound after a comparison: a name, a member, a call without arguments, a number.
BOUND_RE = re.compile(r"\s*([A-Za-z_][\w:.]*(?:\(\))?|\d+)(?=\s*(?:\)|;|&&|\|\||\?|,))")
PLUS_MINUS_ONE_RE = re.compile(r"\s[+-]\s1(?![\w.'])")
NUMBER_RE = re.compile(r"(?<![\w.'])(0[xX][0-9a-fA-F]+|\d+)([uUlL]*)(?![\w.'])")
GUARD_RE = re.compile(r"(?<![\w])if\s*\(")
SKIPPED_LINE_RE = re.compile(r"^\s*(#|static_assert\b|assert\b)")
# A row of a lookup table (four numbers or more and nothing else): its entries are
# data, checked where the table is used, not slips of logic.
TABLE_ROW_RE = re.compile(r"^(?:[^=;{]*=\s*)?[\s{]*(?:(?:0[xX][0-9a-fA-F]+|\d+)\s*,\s*){3,}")


def line_bounds(text, at):
    start = text.rfind("\n", 0, at) + 1
    end = text.find("\n", at)
    return start, len(text) if end < 0 else end


def closing(masked, open_at):
    """Offset just past the parenthesis that closes the one at open_at, or -1."""
    depth = 0
    for k in range(open_at, len(masked)):
        if masked[k] == "(":
            depth += 1
        elif masked[k] == ")":
            depth -= 1
            if depth == 0:
                return k + 1
    return -1


def generate_file(root, folder, path):
    text = path.read_bytes().decode("utf-8")
    masked = mask(text)
    rel = str(path.relative_to(root))
    found = []  # (start, end, new, kind)

    skipped = set()
    for m in re.finditer(r"^.*$", masked, re.M):
        if SKIPPED_LINE_RE.match(m.group(0)) or TABLE_ROW_RE.match(m.group(0)):
            skipped.update(range(m.start(), m.end() + 1))
    # Template argument lists may hold numbers that are not values (std::get<0>).
    for m in re.finditer(r"\w<[^<>;()]*>", masked):
        skipped.update(range(m.start() + 1, m.end()))

    for m in REL_RE.finditer(masked):
        if m.start() in skipped:
            continue
        found.append((m.start(), m.end(), RELATIONAL[m.group(1)], "relational"))
        if m.group(1) in ("==", "!="):
            continue
        b = BOUND_RE.match(masked, m.end())
        if b and b.group(1) not in ("true", "false", "nullptr"):
            after = b.end(1)
            found.append((after, after, " + 1", "off-by-one"))
            found.append((after, after, " - 1", "off-by-one"))

    for m in PLUS_MINUS_ONE_RE.finditer(masked):
        if m.start() in skipped:
            continue
        found.append((m.start(), m.end(), "", "off-by-one"))

    for m in NUMBER_RE.finditer(masked):
        if m.start() in skipped:
            continue
        if re.search(r"\)\s*(const\s*)?=\s*$", masked[max(0, m.start() - 40) : m.start()]):
            continue  # "= 0" of a pure virtual function
        digits, suffix = m.group(1), m.group(2)
        is_hex = digits[:2].lower() == "0x"
        value = int(digits, 16 if is_hex else 10)
        if not is_hex and len(digits) > 1 and digits[0] == "0":
            continue  # octal, or a number padded on purpose
        for step in (1, -1):
            moved = value + step
            if moved < 0:
                if suffix or is_hex:
                    continue
                spelled = "-1"
            elif is_hex:
                spelled = ("0x%0" + str(len(digits) - 2) + "X") % moved
            else:
                spelled = str(moved)
            found.append((m.start(1), m.end(1), spelled, "constant"))

    for m in GUARD_RE.finditer(masked):
        if m.start() in skipped:
            continue
        before = masked[: m.start()].rstrip()
        if before.endswith("else"):
            continue
        open_at = m.end() - 1
        close_at = closing(masked, open_at)
        if close_at < 0:
            continue
        rest = masked[close_at:]
        body = re.match(r"\s*(\{\s*)?(return\b[^;{}]*|continue|break);(\s*\})?", rest)
        if not body or bool(body.group(1)) != bool(body.group(3)):
            continue
        after = rest[body.end() :].lstrip()
        if after.startswith("else"):
            continue
        found.append((open_at, close_at, "(false)", "guard"))

    mutants = []
    seen = {}
    for start, end, new, kind in sorted(found):
        ls, le = line_bounds(text, start)
        line = text[ls:le]
        _, le2 = line_bounds(text, end) if end > start else (ls, le)
        whole = text[ls:le2]
        mutated = (text[ls:start] + new + text[end:le2]).strip()
        if mutated == whole.strip():
            continue
        where = (rel, kind, whole.strip(), mutated)
        seen[where] = seen.get(where, 0) + 1
        key = "|".join([rel, kind, whole.strip(), mutated, str(seen[where])])
        mutants.append(Generated(key, folder, rel, start, end, new, kind, line.strip(), mutated))
    return mutants


def generate(root):
    mutants = []
    for folder, path in sources(root):
        mutants += generate_file(root, folder, path)
    return mutants


def equivalent_reason(m):
    for entry in EQUIVALENT:
        file, line, mutated, reason = entry
        if m.file == file and m.line == line and m.mutated == mutated:
            return reason
    return None


def priority(m, seed):
    return hashlib.sha256(f"{seed}|{m.key}".encode("utf-8")).hexdigest()


def sample(mutants, count, seed, least_per_folder):
    """A reproducible sample: each folder gets its share of count, and at least
    least_per_folder (or all it has); within a folder the seed orders the mutants."""
    by_folder = {}
    for m in mutants:
        by_folder.setdefault(m.folder, []).append(m)
    total = len(mutants)
    chosen = []
    for folder, ms in by_folder.items():
        share = max(least_per_folder, round(count * len(ms) / total)) if total else 0
        ms = sorted(ms, key=lambda m: priority(m, seed))
        chosen += ms[: min(share, len(ms))]
    return chosen
