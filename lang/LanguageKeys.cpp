#include "lang/LanguageKeys.h"

const wchar_t* const kLanguageKeys[kLanguageKeyCount] = {
    L"LanguageName",  // 0
    L"Title_App",
    L"Title_NewNoteFromFile",
    L"Title_SaveNoteAs",
    L"Title_ExportNotesAs",
    L"About",  // 5
    L"RecycleBinFile",
    L"TrayIconToolTip",
    L"EmptySubMenu",
    L"NewVersion_DownloadPrompt",
    L"NewVersion_NoNewVersion",  // 10
    L"NewVersion_CheckFailed",
    L"TitleSuffix_Locked",
    L"TitleSuffix_Hidden",
    L"TitleSuffix_LockedHidden",
    L"NoTitle",  // 15
    L"TextFilesFilter",
    L"Confirm_Zephyn2Import",
    L"Confirm_EmptyRecycleBin",
    L"Confirm_DeleteNote",
    L"Confirm_Restart",  // 20
    // Note menu
    L"NoteMenu_Edit",  // 21
    L"NoteMenu_Undo",
    L"NoteMenu_Redo",
    L"NoteMenu_Delete",
    L"NoteMenu_ResizeToContent",  // 25
    L"NoteMenu_Title",
    L"NoteMenu_Title_Change",
    L"NoteMenu_Title_Remove",
    L"NoteMenu_Priority",
    L"NoteMenu_VeryHigh",  // 30
    L"NoteMenu_High",
    L"NoteMenu_Normal",
    L"NoteMenu_Low",
    L"NoteMenu_VeryLow",
    L"NoteMenu_Alarm",  // 35
    L"NoteMenu_AlarmEnabled",
    L"NoteMenu_AlarmChange",
    L"NoteMenu_Font",
    L"NoteMenu_Font_SelectCustom",
    L"NoteMenu_Font_UseCustomDefault",  // 40
    L"NoteMenu_Font_SetCustomDefault",
    L"NoteMenu_Font_UseSkinDefault",
    L"NoteMenu_Links",
    L"NoteMenu_Lock",
    L"NoteMenu_Hide",  // 45
    L"NoteMenu_SaveAs",
    L"NoteMenu_EmailTo",
    L"NoteMenu_Copy",
    L"NoteMenu_Paste",
    L"NoteMenu_BringNotesToTop",  // 50
    L"NoteMenu_AlwaysOnTop",
    // Main menu
    L"MainMenu_NewNote",  // 52
    L"MainMenu_NewNoteFrom",
    L"MainMenu_NewNoteFromClipboard",
    L"MainMenu_NewNoteFromFile",  // 55
    L"MainMenu_NewNoteFromZephyn2",
    L"MainMenu_ShowNotes",
    L"MainMenu_BringNotesToTop",
    L"MainMenu_TileNotes",
    L"MainMenu_ExportNotes",  // 60
    L"MainMenu_UnhideNotes",
    L"MainMenu_Notes",
    L"MainMenu_RecycleBin",
    L"MainMenu_RecycleBinOpen",
    L"MainMenu_RecycleBinEmpty",  // 65
    L"MainMenu_Settings",
    L"MainMenu_General",
    L"MainMenu_CheckForUpdates",
    L"MainMenu_CancelCheckForUpdates",
    L"MainMenu_SelectLanguage",  // 70
    L"MainMenu_SelectSkin",
    L"MainMenu_SelectColorTheme",
    L"MainMenu_AlwaysOnTop",
    L"MainMenu_Show",
    L"MainMenu_About",  // 75
    L"MainMenu_Exit",
    // Settings dialog
    L"Settings_Title",  // 77
    L"Settings_GeneralSettings",
    L"Settings_CheckForUpdatesAtStartup",
    L"Settings_LayeredWindowEnabled",  // 80
    L"Settings_RunAtStartup",
    L"Settings_ShowDateInTitle",
    L"Settings_NoteSettings",
    L"Settings_Translucency",
    L"Settings_AutoResizeAfterEdit",  // 85
    L"Settings_ConfirmOnDelete",
    L"Settings_SnapNotesToGrid",
    L"Settings_SnapNotesTogether",
    L"Settings_KeyboardShortcuts",
    L"Settings_ShowHideNotes",  // 90
    L"Settings_BringNotesToTop",
    L"Settings_NewNote",
    L"Settings_NewNoteFromClipboard",
    L"Settings_NoteSpacing",
    L"Settings_SnapSize",  // 95
    L"Settings_OK",
    L"Settings_Cancel",
    L"Settings_Apply",
    // Alarm dialog
    L"Alarm_Title",  // 99
    L"Alarm_Date",   // 100
    L"Alarm_Time",
    L"Alarm_OK",
    L"Alarm_Cancel",
    // Note title dialog
    L"NoteTitle_Caption",  // 104
    L"NoteTitle_Title",    // 105
    L"NoteTitle_OK",
    L"NoteTitle_Cancel",
    L"EmailHeader",  // 108
    L"EmailFooter",
    L"BusyAdvanced",  // 110
    L"SaveNote_Failed",
    L"Email_NoMailProgram",
    L"Email_Failed",
    L"MainMenu_MoreNotes",  // 114
    L"ExportFailed",
    L"Zephyn2Import_NoneFound",
    L"SaveFailed_Notes",  // 117
    L"SaveFailed_NotesUnread",
    L"SaveFailed_Settings",
    L"SaveFailed_Backup",
    L"RecycleBinFailed",  // 121
    L"RestoreBackup_Item",
    L"RestoreBackup_None",
    L"RestoreBackup_Failed",
    L"MainMenu_RestoreBackup",
    // Restore dialog
    L"RestoreBackup_Title",  // 126
    L"RestoreBackup_Prompt",
    L"RestoreBackup_OK",
    L"RestoreBackup_Cancel",
    L"SaveFailed_Exit",        // 130
    L"Settings_HotKeysTaken",  // 131
    L"Settings_RunAtStartupFailed",
    L"NewNoteFromFile_TooLarge",  // 133
    L"NewNoteFromFile_NotText",
    L"NewNoteFromFile_Unreadable",  // 135
    L"NotesNotShown",
    L"MainMenu_SyncNotes",  // 137
    L"Sync_ConflictTitle",
    L"Sync_FolderUnavailable",
    L"Sync_Title",  // 140
    L"Sync_Explain",
    L"Sync_Enabled",
    L"Sync_Folder",
    L"Sync_Browse",
    L"Sync_ComputerName",  // 145
    L"Sync_OK",
    L"Sync_Cancel",
    L"Sync_NoFolder",
    L"ShellOpen_Failed",
    L"ShellOpen_OfferNotepad",  // 150
    L"NotesFileKept",
    L"MainMenu_RecycleBinRestore",
    L"RestoreNote_Item",
    L"RestoreNote_None",
    L"RestoreNote_Changed",  // 155
    L"RestoreNote_NotRemoved",
    L"RestoreNote_Title",
    L"RestoreNote_Prompt",
    L"RestoreNote_OK",
    L"RestoreNote_Cancel",  // 160
    L"MainMenu_FindNotes",
    L"Settings_FindNotes",
    L"FindNotes_ColumnTitle",
    L"FindNotes_ColumnPriority",
    L"FindNotes_ColumnAlarm",  // 165
    L"FindNotes_ColumnState",
    L"FindNotes_ColumnCreated",
    L"FindNotes_Hidden",
    L"FindNotes_Locked",
    L"FindNotes_Title",  // 170
    L"FindNotes_Search",
    L"CommandLine_Usage",
    L"NoteMenu_RemindIn10Minutes",
    L"NoteMenu_RemindTomorrow",
    L"MainMenu_ColorThemeLikeWindows",  // 175
    L"Sync_Placement",
};
