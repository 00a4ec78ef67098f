#pragma once
// Names and numbers that identify the program to the user and to the system.

namespace ProgramInfo {

inline constexpr const wchar_t* kProductName = L"Vellomar Notes 3";
inline constexpr const wchar_t* kExecutableName = L"Zephyn3.exe";
inline constexpr int kVersionMajor = 3;
inline constexpr int kVersionMinor = 2;
// Opened from the about box.
inline constexpr const wchar_t* kHomePage = L"https://www.vellomar.example/notes/";

}  // namespace ProgramInfo
