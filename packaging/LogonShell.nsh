; The uninstaller's first duty: a logon shell value that starts a program of
; the folder being removed is set back to explorer.exe, so the next logon
; still gets a shell. Checked: the machine's and every loaded user's Winlogon
; "Shell" (both registry views on 64-bit Windows), and System.ini [boot] shell=
; where the shell keeps it on the Windows 9x family.

!define ORVANE_WINLOGON_KEY "Software\Microsoft\Windows NT\CurrentVersion\Winlogon"

; $0 := 1 when the command in $0 starts a program in $INSTDIR, else 0.
Function un.StartsProgramOfFolder
  Push $1
  Push $2
  ; The program is the quoted part of the command, or the whole of it.
  StrCpy $1 $0 1
  ${If} $1 == '"'
    StrCpy $0 $0 "" 1
    StrCpy $2 0
    ${Do}
      StrCpy $1 $0 1 $2
      ${IfThen} $1 == '"' ${|} ${ExitDo} ${|}
      ${IfThen} $1 == "" ${|} ${ExitDo} ${|}
      IntOp $2 $2 + 1
    ${Loop}
    StrCpy $0 $0 $2
  ${EndIf}
  ; The 8.3 form (System.ini) and the long form name the same file.
  Call un.LongPath
  ${GetParent} $0 $1
  StrCpy $0 $INSTDIR
  Call un.LongPath
  ${If} $1 == $0
    StrCpy $0 1
  ${Else}
    StrCpy $0 0
  ${EndIf}
  Pop $2
  Pop $1
FunctionEnd

!macro ORVANE_RESTORE_SHELL_VALUE ROOT SUBKEY
  ReadRegStr $0 ${ROOT} "${SUBKEY}" "Shell"
  ${If} $0 != ""
    Call un.StartsProgramOfFolder
    ${If} $0 == 1
      WriteRegStr ${ROOT} "${SUBKEY}" "Shell" "explorer.exe"
      DetailPrint "Logon shell set back to explorer.exe: ${ROOT}\${SUBKEY}"
    ${EndIf}
  ${EndIf}
!macroend

Function un.RestoreLogonShell
  Push $0
  Push $R0
  Push $R1
  !insertmacro ORVANE_RESTORE_SHELL_VALUE HKLM "${ORVANE_WINLOGON_KEY}"
  ${If} ${RunningX64}
    SetRegView 64
    !insertmacro ORVANE_RESTORE_SHELL_VALUE HKLM "${ORVANE_WINLOGON_KEY}"
    SetRegView default
  ${EndIf}
  !insertmacro ORVANE_RESTORE_SHELL_VALUE HKCU "${ORVANE_WINLOGON_KEY}"
  ; Other users logged on now: their hives are loaded under HKEY_USERS.
  StrCpy $R0 0
  ${Do}
    EnumRegKey $R1 HKU "" $R0
    ${IfThen} $R1 == "" ${|} ${ExitDo} ${|}
    !insertmacro ORVANE_RESTORE_SHELL_VALUE HKU "$R1\${ORVANE_WINLOGON_KEY}"
    IntOp $R0 $R0 + 1
  ${Loop}
  ReadINIStr $0 "$WINDIR\system.ini" "boot" "shell"
  ${If} $0 != ""
    Call un.StartsProgramOfFolder
    ${If} $0 == 1
      WriteINIStr "$WINDIR\system.ini" "boot" "shell" "explorer.exe"
      DetailPrint "Logon shell set back to explorer.exe: System.ini"
    ${EndIf}
  ${EndIf}
  Pop $R1
  Pop $R0
  Pop $0
FunctionEnd

; After the shell of this folder was ended: a session without any shell gets
; explorer.exe back at once.
Function un.EnsureSessionShell
  Push $0
  FindWindow $0 "Shell_TrayWnd"
  ${If} $0 == 0
    DetailPrint "Starting explorer.exe"
    Exec '"$WINDIR\explorer.exe"'
  ${EndIf}
  Pop $0
FunctionEnd
