; A shell that runs from the program folder: found by its taskbar window
; ("TfrmTaskbar") and the folder of the process that owns it, and ended before
; its files are replaced or removed. Both the installer and the uninstaller use
; it: insert ORVANE_RUNNING_SHELL_FUNCTIONS once with "" and once with "un.".

!define ORVANE_TASKBAR_CLASS "TfrmTaskbar"
!define ORVANE_WM_CLOSE 0x0010
!define ORVANE_PROCESS_QUERY_LIMITED_INFORMATION 0x1000
!define ORVANE_PROCESS_TERMINATE_SYNCHRONIZE 0x100001
; The taskbar's own close removes the hook and saves the desktop links; a
; shell that does not end in this time is ended hard.
!define ORVANE_CLOSE_WAIT_MS 15000

!macro ORVANE_RUNNING_SHELL_FUNCTIONS UN

; $0 := the long form of the path in $0 (unchanged when it does not exist).
Function ${UN}LongPath
  Push $1
  Push $2
  System::Call 'kernel32::GetLongPathNameW(w r0, w .r1, i ${NSIS_MAX_STRLEN}) i .r2'
  ${If} $2 != 0
    StrCpy $0 $1
  ${EndIf}
  Pop $2
  Pop $1
FunctionEnd

; $0 := the taskbar window of a shell running from $INSTDIR, or 0.
Function ${UN}FindShellOfFolder
  Push $1
  Push $2
  Push $3
  Push $4
  StrCpy $0 $INSTDIR
  Call ${UN}LongPath
  StrCpy $4 $0
  StrCpy $0 0
  StrCpy $1 0
  ${Do}
    System::Call 'user32::FindWindowExW(p 0, p r1, w "${ORVANE_TASKBAR_CLASS}", p 0) p .r1'
    ${IfThen} $1 == 0 ${|} ${ExitDo} ${|}
    System::Call 'user32::GetWindowThreadProcessId(p r1, *i .r2)'
    System::Call 'kernel32::OpenProcess(i ${ORVANE_PROCESS_QUERY_LIMITED_INFORMATION}, i 0, i r2) p .r2'
    ${If} $2 != 0
      System::Call 'kernel32::QueryFullProcessImageNameW(p r2, i 0, w .r3, *i ${NSIS_MAX_STRLEN})'
      System::Call 'kernel32::CloseHandle(p r2)'
      ${GetParent} $3 $3
      ${If} $3 == $4
        StrCpy $0 $1
        ${ExitDo}
      ${EndIf}
    ${EndIf}
  ${Loop}
  Pop $4
  Pop $3
  Pop $2
  Pop $1
FunctionEnd

; Ends every shell of $INSTDIR, asking first when the user is there.
; $0 := 1 when one was ended, else 0. Aborts when the user says no.
Function ${UN}EndShellOfFolder
  Push $1
  Push $2
  Push $3
  Call ${UN}FindShellOfFolder
  ${If} $0 == 0
    Goto done
  ${EndIf}
  MessageBox MB_YESNO|MB_ICONQUESTION \
    "${PRODUCT} is running from $INSTDIR.$\r$\nIt has to end first. End it now?" \
    /SD IDYES IDYES +3
    DetailPrint "${PRODUCT} kept running: nothing was changed."
    Abort "${PRODUCT} is still running."
  StrCpy $3 0
  ${Do}
    DetailPrint "Ending ${PRODUCT} running from $INSTDIR"
    System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r1)'
    System::Call 'kernel32::OpenProcess(i ${ORVANE_PROCESS_TERMINATE_SYNCHRONIZE}, i 0, i r1) p .r1'
    System::Call 'user32::PostMessageW(p r0, i ${ORVANE_WM_CLOSE}, p 0, p 0)'
    ${If} $1 != 0
      System::Call 'kernel32::WaitForSingleObject(p r1, i ${ORVANE_CLOSE_WAIT_MS}) i .r2'
      ${If} $2 != 0
        System::Call 'kernel32::TerminateProcess(p r1, i 1)'
        System::Call 'kernel32::WaitForSingleObject(p r1, i 5000)'
      ${EndIf}
      System::Call 'kernel32::CloseHandle(p r1)'
    ${EndIf}
    IntOp $3 $3 + 1
    Call ${UN}FindShellOfFolder
    ${If} $0 == 0
    ${OrIf} $3 >= 5
      ${ExitDo}
    ${EndIf}
  ${Loop}
  StrCpy $0 1
done:
  Pop $3
  Pop $2
  Pop $1
FunctionEnd

!macroend
