#pragma once
// The language keys: the names under which a language file's section "Text" holds
// its texts. A key's number is its position in kLanguageKeys; code that needs one
// particular text asks for it by number, menus and dialogs name their keys.

#include <cstddef>

inline constexpr size_t kLanguageKeyCount = 177;

// Every key in number order. The order is part of the program's contract: the
// numbers below index into it.
extern const wchar_t* const kLanguageKeys[kLanguageKeyCount];

// Numbers of the texts that code asks for directly.
enum LanguageText : int {
    kLanguageName = 0,
    kTitle_App = 1,
    kTitle_NewNoteFromFile = 2,
    kTitle_SaveNoteAs = 3,
    kTitle_ExportNotesAs = 4,
    kAbout = 5,  // format: two integers, the major and minor version
    kRecycleBinFile = 6,
    kTrayIconToolTip = 7,
    kEmptySubMenu = 8,
    kNewVersion_DownloadPrompt = 9,
    kNewVersion_NoNewVersion = 10,
    kNewVersion_CheckFailed = 11,
    kTitleSuffix_Locked = 12,
    kTitleSuffix_Hidden = 13,
    kTitleSuffix_LockedHidden = 14,
    kNoTitle = 15,
    kTextFilesFilter = 16,  // ";"-separated, see LanguageTable::TextWithNuls
    kConfirm_Zephyn2Import = 17,
    kConfirm_EmptyRecycleBin = 18,
    kConfirm_DeleteNote = 19,  // format: one string, the note's title
    kConfirm_Restart = 20,
    kEmailHeader = 108,
    kEmailFooter = 109,
    kBusyAdvanced = 110,
    kSaveNote_Failed = 111,  // followed by the file's path on a line of its own
    kEmail_NoMailProgram = 112,
    kEmail_Failed = 113,
    kMainMenu_MoreNotes = 114,
    kExportFailed = 115,
    kZephyn2Import_NoneFound = 116,
    // Failures to write a file: each takes the path and the system's reason.
    kSaveFailed_Notes = 117,
    kSaveFailed_NotesUnread = 118,
    kSaveFailed_Settings = 119,
    kSaveFailed_Backup = 120,
    kRecycleBinFailed = 121,
    kRestoreBackup_Item = 122,  // format: the backup's date (string), its note count
    kRestoreBackup_None = 123,
    kRestoreBackup_Failed = 124,  // format: the path and the system's reason
    kMainMenu_RestoreBackup = 125,
    kSaveFailed_Exit = 130,        // format: the path of Notes.dat
    kSettings_HotKeysTaken = 131,  // followed by one line per taken hot key
    kSettings_RunAtStartupFailed = 132,
    // A file handed over to become a note that was refused; the path follows.
    kNewNoteFromFile_TooLarge = 133,
    kNewNoteFromFile_NotText = 134,
    kNewNoteFromFile_Unreadable = 135,
    kNotesNotShown = 136,  // format: one integer, how many notes got no window
    kMainMenu_SyncNotes = 137,
    kSync_ConflictTitle = 138,      // put before the title of a note kept from a conflict
    kSync_FolderUnavailable = 139,  // format: the folder's path and the system's reason
    kSync_NoFolder = 148,
    kShellOpen_Failed = 149,  // format: two strings, what was to be opened and the reason
    kShellOpen_OfferNotepad = 150,
    kNotesFileKept = 151,  // format: the notes file's path, where it is kept
    kMainMenu_RecycleBinRestore = 152,
    kRestoreNote_Item = 153,  // format: the note's first line (string), its length
    kRestoreNote_None = 154,
    kRestoreNote_Changed = 155,
    kRestoreNote_NotRemoved = 156,  // format: the bin's path and the system's reason
    kMainMenu_FindNotes = 161,
    kSettings_FindNotes = 162,  // a label of the settings dialog beyond its range
    kFindNotes_ColumnTitle = 163,
    kFindNotes_ColumnPriority = 164,
    kFindNotes_ColumnAlarm = 165,
    kFindNotes_ColumnState = 166,
    kFindNotes_ColumnCreated = 167,
    kFindNotes_Hidden = 168,
    kFindNotes_Locked = 169,
    kCommandLine_Usage = 172,
    // Put at the top of the note menu after the note's alarm has fired.
    kNoteMenu_RemindIn10Minutes = 173,
    kNoteMenu_RemindTomorrow = 174,
    // The last item of the colour themes: the theme follows Windows' light or dark apps.
    kMainMenu_ColorThemeLikeWindows = 175,
    kSync_Placement = 176,  // a check box of the sync dialog, added after its range
};

// The ranges of keys that only appear as texts of menu and dialog resources.
inline constexpr int kFirstNoteMenuKey = 21;
inline constexpr int kFirstMainMenuKey = 52;
inline constexpr int kFirstSettingsKey = 77;
inline constexpr int kFirstAlarmKey = 99;
inline constexpr int kFirstNoteTitleKey = 104;
inline constexpr int kFirstRestoreBackupKey = 126;
inline constexpr int kFirstSyncKey = 140;
inline constexpr int kEndSyncKey = 148;
inline constexpr int kFirstRestoreNoteKey = 157;
inline constexpr int kFirstFindNotesKey = 170;
