#!/usr/bin/env python3
"""Mutation run over the portable core: do the native tests notice a fault?

Each mutation below is one small, realistic fault written as a source edit (file,
exact old text, new text). For each: apply it, rebuild only the native test
programs of the folder that holds the file, run them, record whether a test
failed (caught) or all passed (missed), and put the file back. The original is
always restored, also on Ctrl-C or an error; a run killed outright leaves a copy
in the build folder that the next run puts back first.

An edit whose old text no longer occurs exactly once is reported as stale and not
counted, so the list survives unrelated changes; a file that moved to another
folder is found by its name.

    python3 tools/mutate.py                 # every mutation, table by folder
    python3 tools/mutate.py --only notes    # one folder (or a mutation id: store-07)
    python3 tools/mutate.py --list          # the mutations and whether they apply

With --generated the mutations are not the list below but a reproducible sample of
those generated mechanically from the portable sources (tools/generated_mutants.py),
so that what is measured does not depend on what the tests' authors thought of.

Builds go to build/mutate (native clang, no sanitizers, -O0, ccache, Ninja and lld
when installed), two jobs.
"""

import argparse
import json
import os
import re
import resource
import shutil
import signal
import subprocess
import sys
import time
from dataclasses import dataclass
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import generated_mutants as generated  # noqa: E402

ROOT = Path(__file__).resolve().parent.parent
BUILD = ROOT / "build" / "mutate"
BACKUP = BUILD / "mutate-backup"
RESULTS = BUILD / "generated-results.json"
JOBS = "2"  # --jobs changes it
TEST_TIMEOUT = 60  # seconds; a mutation that makes a test hang counts as caught
TEST_MEMORY = 2 << 30  # bytes of address space per test program
SOURCE_FOLDERS = ["base", "store", "notes", "skin", "lang", "arrange", "app", "main", "ui", "update"]


@dataclass
class Mutation:
    id: str
    folder: str  # the part of the core it belongs to, for the table
    file: str  # path relative to the repository; found by name when it moved
    old: str
    new: str
    what: str


M = Mutation
MUTATIONS = [
    # ---- store: notes file -------------------------------------------------------
    M("store-01", "store", "store/NotesFile.cpp",
      "if (rect.right <= screen.left) {", "if (rect.right < screen.left) {",
      "note touching the virtual screen's left edge counts as on screen"),
    M("store-02", "store", "store/NotesFile.cpp",
      "} else if (rect.left >= screen.right) {", "} else if (rect.left > screen.right) {",
      "note touching the right edge counts as on screen"),
    M("store-03", "store", "store/NotesFile.cpp",
      "if (rect.bottom <= screen.top) {", "if (rect.bottom < screen.top) {",
      "note touching the top edge counts as on screen"),
    M("store-04", "store", "store/NotesFile.cpp",
      "dy = static_cast<int64_t>(screen.bottom) - rect.bottom;",
      "dy = static_cast<int64_t>(screen.bottom) - rect.top;",
      "note below the screen moved by its top edge"),
    M("store-05", "store", "store/NotesFile.cpp",
      "priority <= kPriorityVeryLow ?", "priority < kPriorityVeryLow ?",
      "very low priority read back as normal"),
    M("store-06", "store", "store/AlarmRule.cpp",
      "CompareTimes(alarmUtc, nowUtc) <= 0", "CompareTimes(alarmUtc, nowUtc) < 0",
      "alarm due exactly now stays armed"),
    M("store-07", "store", "store/AlarmRule.cpp",
      "    note.hidden = false;\n    note.alwaysOnTop = true;",
      "    note.hidden = false;",
      "due alarm does not bring the note on top"),
    M("store-08", "store", "store/NotesFile.cpp",
      "a.wMinute, a.wSecond, a.wMilliseconds};", "a.wMinute, a.wSecond, a.wSecond};",
      "milliseconds ignored when comparing times"),
    M("store-09", "store", "store/NotesFile.cpp",
      "    w.U16(n.created.wHour);\n    w.U16(n.created.wMinute);",
      "    w.U16(n.created.wMinute);\n    w.U16(n.created.wHour);",
      "creation hour and minute written in the wrong order"),
    M("store-10", "store", "store/NotesFile.cpp",
      "if (r.CutShort() || data.notes.size() < count)", "if (r.CutShort())",
      "file ending after fewer notes than its count reads as whole"),
    M("store-11", "store", "store/NotesFile.cpp",
      "result.keepOriginal = result.state != NotesFileState::Whole;",
      "result.keepOriginal = result.state == NotesFileState::CutShort;",
      "original not kept when it holds trailing bytes or a newer version"),
    M("store-12", "store", "store/NotesFile.cpp",
      "if (attempt > 1) name += L\"-\" + std::to_wstring(attempt);",
      "if (attempt > 0) name += L\"-\" + std::to_wstring(attempt);",
      "first backup name carries a number"),
    M("store-13", "store", "store/NotesFile.cpp",
      "    v = std::max<int64_t>(v, std::numeric_limits<int32_t>::min());\n", "",
      "shift into the screen no longer clamped at the low end"),
    # ---- store: INI files and the settings store ----------------------------------
    M("store-14", "store", "store/IniFile.cpp",
      "return negative ? 0u - result : result;", "return result;",
      "minus sign of an INI number ignored"),
    M("store-15", "store", "store/IniFile.cpp",
      "if (digit >= base) break;", "if (digit > base) break;",
      "digit equal to the base accepted"),
    M("store-16", "store", "store/IniFile.cpp",
      "if (text.size() >= 2 && IsQuote(text[0])", "if (text.size() > 2 && IsQuote(text[0])",
      "a value of two quotes is not read as empty"),
    M("store-17", "store", "store/IniFile.cpp",
      "        if (ParseHeader(lines_[i].text, name)) return false;\n",
      "        if (ParseHeader(lines_[i].text, name)) continue;\n",
      "key looked up past the end of its section"),
    M("store-18", "store", "store/IniFile.cpp",
      "if (c >= L'a' && c <= L'z') return c - 32;", "if (c >= L'a' && c < L'z') return c - 32;",
      "letter z not folded when names are compared"),
    M("store-19", "store", "store/SettingsStore.cpp",
      "if (slash == std::wstring::npos || path.size() < 2) return false;",
      "if (slash == std::wstring::npos || path.size() < 1) return false;",
      "the path \"/\" alone is accepted"),
    M("store-20", "store", "store/SettingsStore.cpp",
      "result = IniReadInt(filePath_, section_, key_, kMissingB);",
      "result = IniReadInt(filePath_, section_, key_, kMissingA);",
      "second sentinel is the first one again"),
    M("store-21", "store", "store/SettingsStore.cpp",
      "    value = static_cast<uint8_t>(v);", "    value = static_cast<uint8_t>(v > 255 ? 255 : v);",
      "8-bit read clamps instead of keeping the low 8 bits"),
    # ---- store: application settings --------------------------------------------
    M("store-22", "store", "store/AppSettings.cpp",
      "if (settings.snapGap < 1) settings.snapGap = 1;",
      "if (settings.snapGap < 0) settings.snapGap = 1;",
      "snap gap 0 from a hand-edited file kept"),
    M("store-23", "store", "store/AppSettings.cpp",
      "if (settings.skinColorThemeIndex >= themeCount)",
      "if (settings.skinColorThemeIndex > themeCount)",
      "theme index equal to the theme count kept"),
    M("store-24", "store", "store/AppSettings.h",
      "int32_t snapBorder = 15;", "int32_t snapBorder = 5;",
      "wrong default note spacing"),
    M("store-25", "store", "store/AppSettings.cpp",
      "{L\"/Settings/HotKeyBringNotesToTopMod\", T::UInt16, HotKeyModifiers<kHotKeyBringNotesToTop>,",
      "{L\"/Settings/HotKeyBringNotesToTopMod\", T::UInt16, HotKeyModifiers<kHotKeyShowNotes>,",
      "a hot-key key read into another hot key's field"),
    M("store-26", "store", "store/AppSettings.cpp",
      "if (!key || path == kDayCountPath) return false;", "if (!key) return false;",
      "the hand-edited day count gets written"),
    # ---- store: recycle bin and text encodings -------------------------------------
    M("store-27", "store", "store/RecycleBin.cpp",
      "if (static_cast<uint32_t>(c) > 32) ++count;", "if (static_cast<uint32_t>(c) >= 32) ++count;",
      "a space counts as visible text"),
    M("store-28", "store", "store/TextCodec.cpp",
      "} else if (c < 0x800) {", "} else if (c <= 0x800) {",
      "U+0800 written as two (invalid) UTF-8 bytes"),
    M("store-29", "store", "store/TextCodec.cpp",
      "length = 3, c = lead & 0x0F, minimum = 0x800;",
      "length = 3, c = lead & 0x0F, minimum = 0x80;",
      "overlong three-byte UTF-8 accepted"),
    M("store-30", "store", "store/TextCodec.cpp",
      "    if (c >= 0x10000) {\n        c -= 0x10000;",
      "    if (c > 0x10000) {\n        c -= 0x10000;",
      "U+10000 decoded into a single (wrong) unit"),
    M("store-31", "store", "store/TextCodec_posix.cpp",
      "if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {", "if (c < 0x80 || (c > 0xA0 && c <= 0xFF)) {",
      "no-break space cannot be written as ANSI"),
    # Added after the tests above were written, to see whether they reach further.
    M("store-32", "store", "store/NotesFile.cpp",
      "        if (take < length) Short();\n", "",
      "a string cut by the end of the file is not reported (the next read reports it)"),
    M("store-33", "store", "store/NotesFile.cpp",
      "if (n.hasAlarm) w.Time(n.alarmTime);", "if (n.alarmEnabled) w.Time(n.alarmTime);",
      "alarm time written by the wrong flag"),
    M("store-34", "store", "store/NotesFile.cpp",
      "        f.lfFaceName[LogFontData::kFaceSize - 1] = 0;\n", "",
      "face name from the file left without its terminator"),
    M("store-35", "store", "store/SettingsStore.cpp",
      "    if (slash == 0) {", "    if (slash <= 1) {",
      "a path whose last slash is its second character read as the root section"),
    M("store-36", "store", "store/IniFile.cpp",
      "if (blankEdge || quotedLook) return", "if (blankEdge) return",
      "a value that looks quoted is written bare"),
    M("store-37", "store", "store/IniFile.cpp",
      "return trimmedKey.empty() || trimmedKey[0] != L'[';", "return true;",
      "a key opening with '[' is written"),
    M("store-38", "store", "store/IniFile.cpp",
      "const std::wstring text = value.substr(0, 29);", "const std::wstring text = value.substr(0, 30);",
      "a number read one character past the profile buffer"),
    M("store-39", "store", "store/AppSettings.cpp",
      "                        if (target->empty()) *target = *std::get<V*>(fallback);\n", "",
      "an empty language or skin name kept"),
    M("store-40", "store", "store/AppSettings.cpp",
      "{L\"/Settings/ShowDateInTitle\", T::Bool, Field<&S::showDateInTitle>, true},",
      "{L\"/Settings/ShowDateInTitle\", T::Bool, Field<&S::showDateInTitle>, false},",
      "the settings dialog does not write one of its keys"),
    M("store-41", "store", "store/RecycleBin.cpp",
      "std::wstring(75, L'=')", "std::wstring(74, L'=')",
      "separator line one sign short"),
    M("store-42", "store", "store/TextCodec.cpp",
      "if (!ascii && IsValidUtf8(bytes)) {", "if (IsValidUtf8(bytes)) {",
      "a plain ASCII file taken for UTF-8"),
    M("store-43", "store", "store/TextCodec.cpp",
      "if (low >= 0xDC00 && low <= 0xDFFF) {", "if (low >= 0xDC00) {",
      "a high surrogate joined with a following non-surrogate"),
    # ---- notes --------------------------------------------------------------------
    M("notes-01", "notes", "notes/NineSlice.cpp",
      "if (r > 0) out.push_back({bw - r, srcY,", "if (r > 0) out.push_back({bw - l, srcY,",
      "right column taken from the left border's width"),
    M("notes-02", "notes", "notes/NineSlice.cpp",
      "if (b > 0) slicer.Row(bitmapHeight - b, b, dest.bottom - b);",
      "if (b > 0) slicer.Row(bitmapHeight - t, b, dest.bottom - b);",
      "bottom row taken from the top border's height"),
    M("notes-03", "notes", "notes/NineSlice.cpp",
      "x < int64_t{dest.right} - r; x += cw)", "x <= int64_t{dest.right} - r; x += cw)",
      "one centre tile too many when the width divides evenly"),
    M("notes-04", "notes", "notes/NineSlice.cpp",
      "return std::clamp(border, 0, extent);", "return std::min(border, extent);",
      "negative border not clamped to 0"),
    M("notes-05", "notes", "notes/EditRules.cpp",
      "if (static_cast<unsigned long>(c) > 32) return false;",
      "if (static_cast<unsigned long>(c) >= 32) return false;",
      "a note of spaces is not blank"),
    M("notes-06", "notes", "notes/EditRules.cpp",
      "if (!editingNewNote) history.Record(text);", "history.Record(text);",
      "the first text of a new note becomes an undo level"),
    M("notes-07", "notes", "notes/UndoStack.h",
      "while (undo_.size() >= kLevels)", "while (undo_.size() > kLevels)",
      "five undo levels instead of four"),
    M("notes-08", "notes", "notes/NoteLayout.cpp",
      "if (w.right > virtualScreen.right) w.right = std::max(window.right, virtualScreen.right);",
      "",
      "note grows past the right edge of the screen while typing"),
    M("notes-09", "notes", "notes/NoteLayout.cpp",
      "const int64_t times = (-int64_t{from} + extent - 1) / extent;",
      "const int64_t times = -int64_t{from} / extent;",
      "grip counted from the far edge one width short"),
    M("notes-10", "notes", "notes/TitleText.cpp",
      "if (line.size() > kMaxFirstLine) {", "if (line.size() >= kMaxFirstLine) {",
      "a first line of exactly the limit gets cut"),
    M("notes-11", "notes", "notes/NoteSizing.cpp",
      "if (best >= 0 && distance < grid.gap) {", "if (best >= 0 && distance <= grid.gap) {",
      "grip snaps to a corner exactly the gap away"),
    M("notes-12", "notes", "notes/NoteSizing.cpp",
      "        if (d < distance) {", "        if (d <= distance) {",
      "the last of equally near corners wins"),
    M("notes-13", "notes", "notes/NoteLayout.cpp",
      "    if (height < metrics.backgroundHeight) height = metrics.backgroundHeight;\n", "",
      "note fitted to its text lower than its background"),
    M("notes-14", "notes", "notes/NoteLayout.cpp",
      "text.back() == L'\\n'", "text.back() == L'\\r'",
      "final line break not measured"),
    M("notes-15", "notes", "notes/NoteSizing.cpp",
      "        out.left = TruncateToGrid(out.left, g);\n", "",
      "note's left edge not put on a grid line"),
    M("notes-16", "notes", "notes/EditRules.cpp",
      "        case EditEnd::Escape:\n            return {true, false};",
      "        case EditEnd::Escape:\n            return {true, true};",
      "a blank new note survives Escape"),
    M("notes-17", "notes", "notes/UndoStack.h",
      "        redo_.clear();\n", "",
      "a change keeps what was undone for redo"),
    M("notes-18", "notes", "notes/TitleText.cpp",
      "(%04d/%02d/%02d %2d:%02d)", "(%04d/%02d/%02d %02d:%02d)",
      "hour in the title padded with a zero"),
    M("notes-19", "notes", "notes/NoteLayout.cpp",
      "if (dw <= 0 && dh <= 0) return growth;", "if (dw <= 0 || dh <= 0) return growth;",
      "note grows only when both width and height are short"),
    # Added after merging the note menu's new portable code, with its authors' tests.
    M("notes-20", "store", "store/AlarmRule.cpp",
      "t.wDay <= DaysInMonth(t.wYear, t.wMonth)", "t.wDay <= 31",
      "an alarm on a day its month lacks waits for it"),
    M("notes-21", "notes", "notes/AlarmTime.cpp",
      "std::clamp<int64_t>(left, kMinCheckDelayMs, kMaxCheckDelayMs)",
      "std::max<int64_t>(left, kMinCheckDelayMs)",
      "alarm check delay not capped"),
    M("notes-22", "notes", "notes/AlarmTime.cpp",
      "yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;",
      "yearOfEra * 365 + yearOfEra / 4 + dayOfYear;",
      "century years counted as leap years"),
    M("notes-23", "notes", "notes/Links.cpp",
      "if (kept <= at + lower.size()) continue;", "if (kept < at + lower.size()) continue;",
      "a bare scheme listed as a link"),
    M("notes-24", "notes", "notes/Links.cpp",
      "if (std::count(first, stop, opening) >= std::count(first, stop, last)) break;",
      "if (std::count(first, stop, opening) > std::count(first, stop, last)) break;",
      "a balanced closing bracket cut from a link"),
    M("notes-25", "notes", "notes/Links.cpp",
      "return c <= L' ' || c == 0x7F", "return c < L' ' || c == 0x7F",
      "a space does not end a link"),
    M("store-44", "store", "store/TextFile.cpp",
      "return static_cast<uint32_t>(c) < 256;", "return static_cast<uint32_t>(c) < 128;",
      "Latin-1 text saved as UTF-8"),
    # ---- skin ---------------------------------------------------------------------
    M("skin-01", "skin", "skin/SkinTint.cpp",
      "if (c == kMagenta || c == kCyan) continue;", "if (c == kMagenta) continue;",
      "the transparent colour gets tinted"),
    M("skin-02", "skin", "skin/SkinTint.cpp",
      "p[2] = static_cast<uint8_t>(p[2] * tr / 255);", "p[2] = static_cast<uint8_t>(p[2] * tr / 256);",
      "tint darkens full red by one step"),
    M("skin-03", "skin", "skin/SkinTint.cpp",
      "return MakeSkinColor(RedOf(a) * RedOf(b) / 255,", "return MakeSkinColor(RedOf(a) * RedOf(b) / 256,",
      "colour multiplication darkens white by one step"),
    M("skin-04", "skin", "skin/SkinDefinition.cpp",
      "return stored < themeCount ? stored : 0;", "return stored <= themeCount ? stored : 0;",
      "theme index equal to the count kept"),
    M("skin-05", "skin", "skin/SkinDefinition.cpp",
      "    if (!def.visible) return;\n", "",
      "position of an invisible button read"),
    M("skin-06", "skin", "skin/SkinDefinition.cpp",
      "if (theme.name.empty()) theme.name = def.name;", "",
      "unnamed theme not named after the skin"),
    M("skin-07", "skin", "skin/SkinDefinition.cpp",
      "SkinRect{x, y, SaturatedSum(x, width), SaturatedSum(y, height)};",
      "SkinRect{x, y, width, height};",
      "resize grip's far corner not offset by its position"),
    M("skin-08", "skin", "skin/SkinDefinition.cpp",
      "if (last >= 0xD800 && last <= 0xDBFF) --length;", "",
      "long face name cut inside a surrogate pair"),
    M("skin-09", "skin", "skin/SkinDefinition.cpp",
      "store.ReadLong(section + L\"/G\", g);", "store.ReadLong(section + L\"/B\", g);",
      "green read from the blue key"),
    M("skin-10", "skin", "skin/SkinDefinition.cpp",
      "theme.color = ReadColor(store, section);", "theme.color = ReadColor(store, L\"/ColorTheme0\");",
      "every theme takes the first theme's colour"),
    M("skin-11", "skin", "skin/SkinDefinition.cpp",
      "(skinName.empty() ? L\"Default\" : skinName)", "skinName",
      "an empty skin name gives no folder name"),
    M("skin-12", "skin", "skin/SkinTint.cpp",
      "    if (stride < lineBytes) return false;\n", "",
      "a stride shorter than a line accepted"),
    M("skin-13", "skin", "skin/SkinDefinition.h",
      "inline constexpr size_t kMaxFaceNameLength = 31;",
      "inline constexpr size_t kMaxFaceNameLength = 32;",
      "face name one unit too long for its terminator"),
    # ---- lang ---------------------------------------------------------------------
    M("lang-01", "lang", "lang/IniText.cpp",
      "if (last >= 0xD800 && last <= 0xDBFF) --cut;", "",
      "long text cut inside a surrogate pair"),
    M("lang-02", "lang", "lang/IniText.h",
      "inline constexpr size_t kIniTextMaxLength = 1023;",
      "inline constexpr size_t kIniTextMaxLength = 1024;",
      "text cut one character too late"),
    M("lang-03", "lang", "lang/LanguageTable.cpp",
      "    if (text.empty() || text.back() != L'\\0') text.push_back(L'\\0');\n", "",
      "filter list without its final NUL"),
    M("lang-04", "lang", "lang/SafeFormat.cpp",
      "if (c.zeroPad && !c.leftAlign && !c.hasPrecision && c.width > length) {",
      "if (c.zeroPad && !c.hasPrecision && c.width > length) {",
      "left-aligned number padded with zeros"),
    M("lang-05", "lang", "lang/SafeFormat.cpp",
      "if (c.hasPrecision && text.size() > c.precision) text = text.substr(0, c.precision);",
      "",
      "string precision ignored"),
    M("lang-06", "lang", "lang/IniText.cpp",
      "    if (nul != std::wstring::npos) value.resize(nul);\n", "",
      "NUL inside a value does not end it"),
    M("lang-07", "lang", "lang/LanguageTable.cpp",
      "if (found == keys_.end()) return L\"(\" + key + L\")\";",
      "if (found == keys_.end()) return L\"(((\" + key + L\")))\";",
      "a text that is no key shown as a missing key"),
    M("lang-08", "lang", "lang/SafeFormat.cpp",
      "    if (v < 0) {\n        sign = L\"-\";", "    if (v <= 0) {\n        sign = L\"-\";",
      "zero formatted with a minus sign"),
    M("lang-09", "lang", "lang/SafeFormat.cpp",
      "if (k == L'd' || k == L'i') {", "if (k == L'd') {",
      "%i not filled"),
    # ---- arrange ------------------------------------------------------------------
    M("arrange-01", "arrange", "arrange/Snapping.cpp",
      "return (a > b ? a - b : b - a) <= d;", "return (a > b ? a - b : b - a) < d;",
      "no snap at exactly the snap distance"),
    M("arrange-02", "arrange", "arrange/Snapping.cpp",
      "const bool withinHeight = y >= r.top && y + cy < r.bottom;",
      "const bool withinHeight = y >= r.top && y + cy <= r.bottom;",
      "bottom-aligned window counted as within the other's height"),
    M("arrange-03", "arrange", "arrange/Snapping.cpp",
      "    bcx -= g;\n    bcy -= g;\n", "",
      "spacing left on the size when snapping to monitors"),
    M("arrange-04", "arrange", "arrange/Snapping.cpp",
      "if (area > bestArea) {", "if (area >= bestArea) {",
      "the last of equally overlapping monitors wins"),
    M("arrange-05", "arrange", "arrange/Grid.cpp",
      "if (remainder < 0) return value - remainder;", "if (remainder < 0) return value - remainder + g;",
      "negative values raised one step too far"),
    M("arrange-06", "arrange", "arrange/Snapping.cpp",
      "if (Near(y, a.top, d)) {\n            y = a.top;\n            return true;",
      "if (Near(y, a.top, d)) {\n            y = a.top;\n            return snapped;",
      "snap to a work area's top not reported"),
    M("arrange-07", "arrange", "arrange/NotePlacement.cpp",
      "    at.y = std::max(at.y, work.top);\n", "",
      "note taller than the work area pushed above its top"),
    M("arrange-08", "arrange", "arrange/NotePlacement.cpp",
      "return snapGap == 0 ? 10 : 3 * snapGap;", "return 3 * snapGap;",
      "no margin without a grid step"),
    M("arrange-09", "arrange", "arrange/Snapping.cpp",
      "        if (!o.visible) continue;\n", "",
      "a hidden window attracts"),
    M("arrange-10", "arrange", "arrange/Snapping.cpp",
      "int64_t bx = int64_t{x} + m.left;", "int64_t bx = int64_t{x};",
      "left inset not applied before snapping"),
    M("arrange-11", "arrange", "arrange/Snapping.cpp",
      "            x = r.left - cx;", "            x = r.left - cx + 1;",
      "window placed left of another one pixel too far right"),
    M("arrange-12", "arrange", "arrange/Snapping.cpp",
      "if (best < 0 || distance < bestDistance) {", "if (best < 0 || distance <= bestDistance) {",
      "the last of equally distant monitors wins"),
    M("arrange-13", "arrange", "arrange/NotePlacement.cpp",
      "at.y = p.mainWindow.bottom + margin;", "at.y = p.mainWindow.top + margin;",
      "new note placed over the main window instead of below it"),
    M("arrange-14", "arrange", "arrange/Snapping.cpp",
      "            x = a.right - cx;", "            x = a.right;",
      "window snapped to a work area's right edge lands outside it"),
    # ---- app and main -------------------------------------------------------------
    M("app-01", "app", "app/CommandLine.cpp",
      "for (std::size_t i = 0; i + 1 < byteCount; i += 2) {",
      "for (std::size_t i = 0; i < byteCount; i += 2) {",
      "odd last byte of the hand-over read"),
    M("app-02", "app", "app/TextFileImport.cpp",
      "if (text[i] == L'\\r' && i + 1 < text.size() && text[i + 1] == L'\\n') continue;",
      "if (text[i] == L'\\r') continue;",
      "lone CR dropped from an imported file"),
    M("main-01", "main", "main/MainMenuText.cpp",
      "text.find_last_not_of(L\" \\r\\n\\t\");", "text.find_last_not_of(L\" \\r\\n\");",
      "trailing tab kept in a menu item"),
    M("app-03", "app", "app/CommandLine.cpp",
      "if (*c != L'\"' && *c != L'\\'') path += *c;", "if (*c != L'\"') path += *c;",
      "apostrophes kept in the command line"),
    M("app-04", "app", "app/CommandLine.cpp",
      "    bytes.push_back(0);\n    bytes.push_back(0);\n", "    bytes.push_back(0);\n",
      "hand-over payload ends in half a terminator"),
    M("main-02", "main", "main/MainMenuText.cpp",
      "text += hidden ? suffixes.lockedHidden : suffixes.locked;",
      "text += hidden ? suffixes.locked : suffixes.lockedHidden;",
      "locked suffixes swapped"),
]


class Restorer:
    """Keeps the original of the file being mutated, on disk as well, and puts it back."""

    def __init__(self):
        self.path = None
        self.text = None

    def save(self, path, text):
        BACKUP.mkdir(parents=True, exist_ok=True)
        (BACKUP / "path").write_text(str(path))
        (BACKUP / "text").write_bytes(text.encode("utf-8"))
        self.path, self.text = path, text

    def restore(self):
        if self.path is not None:
            self.path.write_bytes(self.text.encode("utf-8"))
            # Newer than every object built from the mutation, so they are rebuilt.
            os.utime(self.path)
            self.path = self.text = None
        shutil.rmtree(BACKUP, ignore_errors=True)

    @staticmethod
    def recover():
        """Puts back a file left mutated by a run that was killed."""
        if (BACKUP / "path").exists():
            path = Path((BACKUP / "path").read_text())
            path.write_bytes((BACKUP / "text").read_bytes())
            os.utime(path)
            print(f"restored {path.relative_to(ROOT)} left mutated by an earlier run")
        shutil.rmtree(BACKUP, ignore_errors=True)


def locate(relative):
    """The file's path now: where the list says, or the one source file of that name."""
    path = ROOT / relative
    if path.exists():
        return path
    name = Path(relative).name
    found = [p for folder in SOURCE_FOLDERS for p in (ROOT / folder).rglob(name)]
    return found[0] if len(found) == 1 else None


def read(path):
    return path.read_bytes().decode("utf-8")


def status(m):
    """(path, None) when the mutation applies, else (path or None, reason)."""
    path = locate(m.file)
    if path is None:
        return None, "stale: file not found"
    count = read(path).count(m.old)
    if count != 1:
        return path, "stale: old text found %d times" % count
    return path, None


def tests_for(path):
    """The native test programs of the tests folder that mirrors the file's folder."""
    folder = path.relative_to(ROOT).parts[0]
    lists = ROOT / "tests" / folder / "CMakeLists.txt"
    if not lists.exists():
        return []
    return re.findall(r"vn_core_test\(\s*(\w+)", lists.read_text())


def run(cmd, timeout=None, **kw):
    """Runs cmd in a process group of its own, which is ended with it when the run is
    interrupted or times out: a build left running would finish objects compiled from
    the mutated file after the original is back, and they would look up to date."""
    with subprocess.Popen(cmd, cwd=ROOT, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                          text=True, errors="replace", start_new_session=True, **kw) as p:
        try:
            out, _ = p.communicate(timeout=timeout)
        except BaseException:
            os.killpg(p.pid, signal.SIGKILL)
            p.wait()
            raise
        return subprocess.CompletedProcess(cmd, p.returncode, out)


def environment():
    env = dict(os.environ)
    env.setdefault("CCACHE_BASEDIR", str(ROOT))
    env.setdefault("CCACHE_NOHASHDIR", "1")
    env.setdefault("CC", "clang")
    env.setdefault("CXX", "clang++")
    return env


def configure(env):
    if (BUILD / "CMakeCache.txt").exists():
        return True
    # No debug information and no sanitizers: each mutation recompiles one file and
    # relinks a few test programs, and that is most of the run's time.
    cmd = ["cmake", "-S", ".", "-B", str(BUILD), "-DCMAKE_BUILD_TYPE=Debug",
           "-DCMAKE_CXX_FLAGS_DEBUG=-O0", "-DCMAKE_C_FLAGS_DEBUG=-O0", "-DVN_SANITIZE=OFF",
           "-DVN_FUZZ=OFF"]
    if shutil.which("ninja"):
        cmd += ["-G", "Ninja"]
    if shutil.which("ld.lld"):
        cmd += ["-DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld"]
    r = run(cmd, env=env)
    if r.returncode != 0:
        print(r.stdout)
    return r.returncode == 0


def build(targets, env):
    r = run(["cmake", "--build", str(BUILD), "-j", str(JOBS), "--target", *targets], env=env)
    return r.returncode == 0, r.stdout


def limit_memory():
    """A mutation that turns a loop endless may append without end: on a shared
    machine it fails at 2 GiB instead of taking the memory of everyone else."""
    resource.setrlimit(resource.RLIMIT_AS, (TEST_MEMORY, TEST_MEMORY))


def run_tests(targets):
    """True when every test program passed; a crash or a hang is a failure."""
    for t in targets:
        exe = BUILD / "bin" / t
        try:
            r = run([str(exe), "--gtest_brief=1", "--gtest_fail_fast"], timeout=TEST_TIMEOUT,
                    preexec_fn=limit_memory)
        except subprocess.TimeoutExpired:
            return False
        if r.returncode != 0:
            return False
    return True


def generated_jobs(args):
    """The sampled generated mutants as (id, folder, path, what, mutated text or None)."""
    mutants = generated.generate(ROOT)
    chosen = generated.sample(mutants, args.count, args.seed, args.least)
    if args.only:
        chosen = [m for m in chosen if m.folder in args.only or m.id in args.only
                  or m.file in args.only]
    if args.missed:
        # What this tree's own runs missed (with shards, each copy tries its own again).
        last = load_results()
        chosen = [m for m in chosen if last.get(m.id) == "missed"]
    elif args.shard:
        # Every n-th mutation, for a second copy of the tree running beside this one.
        i, n = (int(v) for v in args.shard.split("/"))
        chosen = chosen[i - 1::n]
    # In the order of the seed across folders, so that a run stopped early has
    # still measured a fair share of every folder.
    chosen.sort(key=lambda m: generated.priority(m, args.seed))
    jobs = []
    for m in chosen:
        path = ROOT / m.file
        reason = generated.equivalent_reason(m)
        what = f"{m.kind:10} {m.file}: {m.line}  ->  {m.mutated}"
        jobs.append((m.id, m.folder, path, what, None if reason else m, reason))
    return mutants, jobs


def hand_jobs(args):
    chosen = [m for m in MUTATIONS
              if not args.only or m.folder in args.only or m.id in args.only]
    if args.shard:
        i, n = (int(v) for v in args.shard.split("/"))
        chosen = chosen[i - 1::n]
    jobs = []
    for m in chosen:
        path, reason = status(m)
        jobs.append((m.id, m.folder, path, m.what, None if reason else m, reason))
    return jobs


def mutated_text(m, original):
    if isinstance(m, Mutation):
        return original.replace(m.old, m.new, 1)
    return m.apply(original)


def load_results():
    try:
        return json.loads(RESULTS.read_text())
    except (OSError, ValueError):
        return {}


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--only", action="append", default=[],
                        help="a folder (store, notes, ...), a mutation id or a file; may be repeated")
    parser.add_argument("--list", action="store_true", help="list the mutations and exit")
    parser.add_argument("--generated", action="store_true",
                        help="the sample of mechanically generated mutations instead of the list")
    parser.add_argument("--count", type=int, default=250, help="size of the generated sample")
    parser.add_argument("--seed", default="vn3", help="seed of the generated sample")
    parser.add_argument("--least", type=int, default=15,
                        help="generated mutations per folder at least (or all it has)")
    parser.add_argument("--missed", action="store_true",
                        help="only the generated mutations the last run missed")
    parser.add_argument("--shard", help="i/n: only every n-th mutation, from the i-th")
    parser.add_argument("--jobs", type=int, default=2, help="build jobs (default 2)")
    parser.add_argument("--report", nargs="*", metavar="RESULTS",
                        help="print the table of the generated sample from the results of "
                             "earlier runs (this tree's, and these files') without running")
    args = parser.parse_args()
    global JOBS
    JOBS = args.jobs

    if args.report is not None:
        args.generated = True
        everything, jobs = generated_jobs(args)
        results = {}
        for path in [RESULTS] + [Path(p) for p in args.report]:
            try:
                results.update(json.loads(Path(path).read_text()))
            except (OSError, ValueError):
                print(f"no results in {path}")
        for id_, folder, path, what, m, reason in jobs:
            if m is None:
                results[id_] = "equivalent"
        report(jobs, results, 0)
        return 0
    if args.generated:
        everything, jobs = generated_jobs(args)
        print(f"{len(everything)} generated mutations, {len(jobs)} in the sample run "
              f"(seed {args.seed})")
    else:
        jobs = hand_jobs(args)
    if args.list:
        try:
            for id_, folder, path, what, m, reason in jobs:
                print(f"{id_:11} {what}" + (f"  [{reason}]" if reason else ""))
        except BrokenPipeError:
            pass
        return 0
    if not jobs:
        print("no mutation matches", args.only)
        return 2

    # Two cores are shared with others: give way to their builds.
    try:
        os.nice(10)
    except OSError:
        pass
    Restorer.recover()
    env = environment()
    if not configure(env):
        return 2

    # Without this, SIGTERM would end the run with the file still mutated.
    def on_term(signum, frame):
        raise KeyboardInterrupt
    signal.signal(signal.SIGTERM, on_term)

    baseline = sorted({t for j in jobs if j[4] for t in tests_for(j[2])})
    print(f"baseline: building {len(baseline)} test programs ...", flush=True)
    ok, log = build(baseline, env)
    if not ok or not run_tests(baseline):
        print(log[-4000:])
        print("the unmutated tree does not build or pass its tests; nothing measured")
        return 2

    results = {}  # id -> "caught" | "missed" | "stale" | "equivalent" | "build error" | "no tests"
    restorer = Restorer()
    started = time.time()
    try:
        for i, (id_, folder, path, what, m, reason) in enumerate(jobs, 1):
            if m is None:
                results[id_] = "equivalent" if args.generated else "stale"
                label = "equivalent: " if args.generated else ""  # a stale reason says so
                print(f"[{i}/{len(jobs)}] {id_:11} {label}{reason}  ({what})", flush=True)
                continue
            targets = tests_for(path)
            original = read(path)
            restorer.save(path, original)
            path.write_bytes(mutated_text(m, original).encode("utf-8"))
            try:
                if not targets:
                    verdict = "no tests"
                elif not build(targets, env)[0]:
                    verdict = "build error"
                else:
                    verdict = "missed" if run_tests(targets) else "caught"
            finally:
                restorer.restore()
            results[id_] = verdict
            print(f"[{i}/{len(jobs)}] {id_:11} {verdict:7}  {what}", flush=True)
    except KeyboardInterrupt:
        restorer.restore()
        print("\ninterrupted; the source is restored")
        return 130
    finally:
        restorer.restore()
        if args.generated:
            # Kept across runs, so that --missed can try again what survived.
            merged = load_results()
            merged.update(results)
            RESULTS.parent.mkdir(parents=True, exist_ok=True)
            RESULTS.write_text(json.dumps(merged, indent=0, sort_keys=True))

    report(jobs, results, time.time() - started)
    return 0


def report(jobs, results, seconds):
    folders = []
    for j in jobs:
        if j[1] not in folders:
            folders.append(j[1])
    order = generated.FOLDERS + SOURCE_FOLDERS
    folders.sort(key=lambda f: order.index(f) if f in order else len(order))
    print()
    print(f"{'folder':10} {'caught':>6} {'of':>4} {'share':>6} {'equivalent':>10} {'other':>5}")
    total_caught = total_counted = 0
    for f in folders:
        ids = [j[0] for j in jobs if j[1] == f]
        caught = sum(results.get(i) == "caught" for i in ids)
        counted = sum(results.get(i) in ("caught", "missed") for i in ids)
        same = sum(results.get(i) == "equivalent" for i in ids)
        other = len(ids) - counted - same
        total_caught += caught
        total_counted += counted
        share = f"{100 * caught / counted:.0f}%" if counted else "-"
        print(f"{f:10} {caught:6} {counted:4} {share:>6} {same:10} {other:5}")
    share = f"{100 * total_caught / total_counted:.0f}%" if total_counted else "-"
    print(f"{'all':10} {total_caught:6} {total_counted:4} {share:>6}")
    missed = [j for j in jobs if results.get(j[0]) == "missed"]
    if missed:
        print("\nmissed:")
        for j in missed:
            print(f"  {j[0]:11} {j[3]}")
    for j in jobs:
        if results.get(j[0]) == "build error":
            print(f"  {j[0]:11} does not build: {j[3]}")
        elif results.get(j[0]) == "no tests":
            print(f"  {j[0]:11} no vn_core_test in the tests folder of {j[2]}")
    print(f"\n{seconds / 60:.1f} minutes")


if __name__ == "__main__":
    sys.exit(main())
