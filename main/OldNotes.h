#pragma once
// The notes of the predecessor program, one INI file per note ("*.zn" in its
// per-user folder): the percent-encoded text under [Default] Text and the
// window rectangle as "left,top,right,bottom" under [Default] Rect.

#include <optional>
#include <string>
#include <vector>

#include "arrange/Rect.h"
#include "store/ValueStore.h"

namespace OldNotes {

// The folder below the roaming application-data folder and the file pattern.
inline constexpr const wchar_t* kFolderName = L"Vellomar Notes 2";
inline constexpr const wchar_t* kPattern = L"*.zn";

// Undoes the predecessor's percent encoding: a '%' and the one or two
// hexadecimal digits after it stand for the character of that code (1 to
// 255). A '%' that no hexadecimal digit follows was written by the user as a
// plain percent sign and stays one. A NUL, decoded or not, is dropped: it
// would end the text wherever the text goes next.
std::wstring DecodeText(const std::wstring& encoded);

// "left,top,right,bottom" as four decimal integers (spaces allowed around
// each); nothing for any other text, for an empty or inverted rectangle, and
// for one with a side beyond 32767 pixels.
std::optional<Rect> ParseRect(const std::wstring& text);

struct OldNote {
    std::wstring text;
    std::optional<Rect> rect;
};

// Reads one note file through its store. A missing text is an empty one.
OldNote Read(ValueStore& file);

// Whether the rectangle shares at least one pixel with one of the monitors.
bool OnAnyMonitor(const Rect& rect, const std::vector<Rect>& monitors);

}  // namespace OldNotes
