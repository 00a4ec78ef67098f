#pragma once
// Builders shared by the notes-file tests: sample notes, and a little-endian byte
// builder for writing expected file images by hand.

#include <cstdint>
#include <string>

#include "store/NoteData.h"
#include "store/NotesFile.h"
#include "support/CalendarTimes.h"

namespace NotesTestData {

class Bytes {
public:
    Bytes& U8(uint8_t v) {
        s_ += static_cast<char>(v);
        return *this;
    }
    Bytes& U16(uint16_t v) { return U8(v & 0xFF).U8(v >> 8); }
    Bytes& U32(uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
    Bytes& I32(int32_t v) { return U32(static_cast<uint32_t>(v)); }
    Bytes& Units(const std::u16string& text) {
        for (char16_t c : text) U16(c);
        return *this;
    }
    Bytes& Font(const LogFontData& f) {
        I32(f.lfHeight).I32(f.lfWidth).I32(f.lfEscapement).I32(f.lfOrientation).I32(f.lfWeight);
        U8(f.lfItalic).U8(f.lfUnderline).U8(f.lfStrikeOut).U8(f.lfCharSet);
        U8(f.lfOutPrecision).U8(f.lfClipPrecision).U8(f.lfQuality).U8(f.lfPitchAndFamily);
        for (wchar_t c : f.lfFaceName) U16(static_cast<uint16_t>(c));
        return *this;
    }
    const std::string& str() const { return s_; }

private:
    std::string s_;
};

inline LogFontData Font(const wchar_t* face, int32_t height, int32_t weight) {
    LogFontData f;
    f.lfHeight = height;
    f.lfWeight = weight;
    f.lfCharSet = 1;
    f.lfQuality = 5;
    f.lfPitchAndFamily = 0x22;
    for (int i = 0; face[i] && i < LogFontData::kFaceSize - 1; ++i) f.lfFaceName[i] = face[i];
    return f;
}

// A note with every field away from its default, and only what the file keeps.
inline NoteData FullNote(int seed) {
    NoteData n;
    n.rect = RectData{-1000 + seed, 20 + seed, 200 + seed, 300 + seed};
    n.text = L"Line one\r\nLine two " + std::to_wstring(seed);
    n.title = L"Title " + std::to_wstring(seed);
    n.alwaysOnTop = n.locked = n.hasCustomFont = n.hidden = n.alarmEnabled = n.hasAlarm = true;
    n.created = At(2026, 12, 6, 20, 41);
    n.font = Font(L"Tahoma", -13 - seed, 700);
    n.font.lfItalic = 1;
    n.priority = seed % 5;
    n.alarmTime = At(2027, 1, 2, 3, 4, 5, 6);
    n.alarmTime.wDayOfWeek = 6;
    return n;
}

inline NotesFileData SampleFile(int notes) {
    NotesFileData data;
    data.hasCustomDefaultFont = true;
    data.customDefaultFont = Font(L"Liberation Sans", -16, 400);
    for (int i = 0; i < notes; ++i) data.notes.push_back(FullNote(i));
    return data;
}

}  // namespace NotesTestData
