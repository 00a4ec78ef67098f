; Pieces of the installer and uninstaller that CPack's template does not have.
; Included by the script CPack writes, after its MUI include.

; The program is 64-bit only, so the installer is too: it then sees the 64-bit
; Program Files and registry, and runs where only 64-bit Windows code can.
Target amd64-unicode

!include "FileFunc.nsh"
!include "WinMessages.nsh"

!define VN_RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define VN_RUN_VALUE "Vellomar Notes 3"
!define VN_OWN_KEY "Software\Vellomar\Vellomar Notes 3"
!define VN_MAIN_CLASS "Zephyn3 SmallWindow"
!define VN_MAIN_TITLE "Vellomar Notes 3"

; The finish page offers run at log-on; a silent installation takes /RUNATLOGON.
!define MUI_FINISHPAGE_SHOWREADME ""
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Start Vellomar Notes 3 when I log on"
!define MUI_FINISHPAGE_SHOWREADME_FUNCTION WriteRunAtLogOn

; The program's own per-user Run value: the same name and data its settings
; dialog writes, so the dialog shows the choice made here. The path is quoted:
; unquoted, Windows tries "C:\Program.exe" first and hands the rest of the
; path to the program as its argument.
Function WriteRunAtLogOn
  WriteRegStr HKCU "${VN_RUN_KEY}" "${VN_RUN_VALUE}" '"$INSTDIR\Zephyn3.exe"'
FunctionEnd

; Files of a running copy cannot be replaced or removed, so it is asked to end
; as the Exit command would (its notes are already saved), and given time to.
!macro VN_CLOSE_RUNNING un
Function ${un}CloseRunningProgram
  StrCpy $1 0
  loop:
    FindWindow $0 "${VN_MAIN_CLASS}" "${VN_MAIN_TITLE}"
    StrCmp $0 0 done
    IntCmp $1 0 0 +2 +2
      SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=5000
    Sleep 200
    IntOp $1 $1 + 1
    IntCmp $1 50 done loop done
  done:
FunctionEnd
!macroend
!insertmacro VN_CLOSE_RUNNING ""
!insertmacro VN_CLOSE_RUNNING "un."

; An upgrade runs the older uninstaller first, which keeps the run-at-log-on
; choice in the program's own key; the installation gives it back, pointing at
; the new folder.
Function RestoreRunAtLogOn
  ClearErrors
  ReadRegDWORD $0 HKCU "${VN_OWN_KEY}" "RunAtLogOn"
  DeleteRegValue HKCU "${VN_OWN_KEY}" "RunAtLogOn"
  DeleteRegKey /ifempty HKCU "${VN_OWN_KEY}"
  ${GetParameters} $1
  ClearErrors
  ${GetOptions} $1 "/RUNATLOGON" $2
  IfErrors 0 write
  StrCmp $0 1 write done
  write:
    Call WriteRunAtLogOn
  done:
FunctionEnd

Function un.SetAsideRunAtLogOn
  ClearErrors
  ReadRegStr $0 HKCU "${VN_RUN_KEY}" "${VN_RUN_VALUE}"
  IfErrors done
  WriteRegDWORD HKCU "${VN_OWN_KEY}" "RunAtLogOn" 1
  DeleteRegValue HKCU "${VN_RUN_KEY}" "${VN_RUN_VALUE}"
  done:
FunctionEnd
