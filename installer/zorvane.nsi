; The setup of Zorvane and Vigilo, one script for both builds:
;
;   makensis -DARCH=x64|x86 -DVERSION=1.0 -DAPP_DIR=build/win/app -DOUT_FILE=setup.exe zorvane.nsi
;
; It installs into the Program Files of the build (the 64-bit one for x64, "Program Files
; (x86)" for x86 on 64-bit Windows), for every user of the computer.
;
; Switches: /S silent, /D=<folder> (last, unquoted) the installation folder.
; The uninstaller: /S silent, /RESTORE undo all of Zorvane's changes first (the question
; it asks when it is not silent).
; Both close the companion of this session and change nothing while Zorvane.exe or
; vigilo.exe of the folder still runs in any session (silent: exit code 2).

Unicode true
!if "${ARCH}" == "x64"
    Target amd64-unicode
    !define PROGRAM_FILES "$PROGRAMFILES64"
!else
    Target x86-unicode
    !define PROGRAM_FILES "$PROGRAMFILES"
!endif

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Zorvane"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define PUBLISHER "The Zorvane developers"
; The window classes the programs register.
!define COMPANION_CLASS "ZorvaneVigilo"
!define PING_DIALOG_CLASS "ZorvanePingConfiguration"
!define MAIN_CLASS "ZorvaneMainWindow"

Name "Zorvane"
OutFile "${OUT_FILE}"
InstallDir "${PROGRAM_FILES}\Zorvane"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
ManifestSupportedOS all
BrandingText "Zorvane ${VERSION}"

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "Zorvane"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "Zorvane ${VERSION} setup (${ARCH})"
VIAddVersionKey "LegalCopyright" "Copyright (C) 2026 ${PUBLISHER}"

!define MUI_ICON "../src/win32/zorvane/zorvane.ico"
!define MUI_UNICON "../src/win32/zorvane/zorvane.ico"
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start Vigilo now"
!define MUI_FINISHPAGE_RUN_FUNCTION StartCompanion
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Ends the companion through its own window, as its Exit does: its unload takes the tray
; icon away. A ping dialog it has open would keep it running, so that is closed first.
; Then waits (bounded) for its process to end, so that its file can be replaced.
!macro CLOSE_COMPANION un
Function ${un}CloseCompanion
    Push $0
    Push $1
    Push $2
    Push $3
    Push $4
    FindWindow $0 "${COMPANION_CLASS}" "Vigilo"
    ${If} $0 <> 0
        System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r1)'
        System::Call 'kernel32::OpenProcess(i 0x00100000, i 0, i r1) p .r2'  ; SYNCHRONIZE
        StrCpy $3 0
        ${Do}
            FindWindow $3 "${PING_DIALOG_CLASS}" "" "" $3
            ${If} $3 = 0
                ${Break}
            ${EndIf}
            System::Call 'user32::GetWindowThreadProcessId(p r3, *i .r4)'
            ${If} $4 = $1
                SendMessage $3 ${WM_CLOSE} 0 0 /TIMEOUT=5000
            ${EndIf}
        ${Loop}
        SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=5000
        ${If} $2 <> 0
            System::Call 'kernel32::WaitForSingleObject(p r2, i 10000)'
            System::Call 'kernel32::CloseHandle(p r2)'
        ${EndIf}
    ${EndIf}
    Pop $4
    Pop $3
    Pop $2
    Pop $1
    Pop $0
FunctionEnd
!macroend
!insertmacro CLOSE_COMPANION ""
!insertmacro CLOSE_COMPANION "un."

; The main program is a window the user works in: it is not closed for them. Silent, the
; setup gives up instead (exit code 2, nothing changed).
!macro REQUIRE_MAIN_CLOSED un
Function ${un}RequireMainClosed
    Push $0
    ${Do}
        FindWindow $0 "${MAIN_CLASS}" ""
        ${If} $0 = 0
            ${Break}
        ${EndIf}
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
            "Zorvane is running. Close it, then choose Retry." /SD IDCANCEL IDCANCEL give_up
    ${Loop}
    Pop $0
    Return
give_up:
    Abort "Zorvane is running."
FunctionEnd
!macroend
!insertmacro REQUIRE_MAIN_CLOSED ""
!insertmacro REQUIRE_MAIN_CLOSED "un."

; A program of the folder that still runs after the steps above: one that did not close,
; or a copy in another user's session, which no window of this session reaches. Windows
; keeps the file of a running program open against writing, so trying to open it for
; writing finds every copy, of every session, by the path it runs from. A program that is
; closing gets up to 5 s to end; then the user may close it and retry, or the setup stops
; naming it (silent: exit code 2), before anything is changed. An old vigilo.exe is never
; left behind unnoticed.
!macro REQUIRE_NOT_RUNNING un
; The file name on the stack is replaced by "" when $INSTDIR holds no running copy of it.
Function ${un}WaitUntilNotRunning
    Exch $0
    Push $1
    Push $2
    StrCpy $2 0
    ${Do}
        ${IfNot} ${FileExists} "$INSTDIR\$0"
            StrCpy $0 ""
            ${Break}
        ${EndIf}
        ClearErrors
        FileOpen $1 "$INSTDIR\$0" a
        ${IfNot} ${Errors}
            FileClose $1
            StrCpy $0 ""
            ${Break}
        ${EndIf}
        IntOp $2 $2 + 1
        ${If} $2 > 10
            ${Break}
        ${EndIf}
        Sleep 500
    ${Loop}
    Pop $2
    Pop $1
    Exch $0
FunctionEnd

Function ${un}RequireNotRunning
    Push $0
    ${Do}
        Push "Zorvane.exe"
        Call ${un}WaitUntilNotRunning
        Pop $0
        ${If} $0 == ""
            Push "vigilo.exe"
            Call ${un}WaitUntilNotRunning
            Pop $0
        ${EndIf}
        ${If} $0 == ""
            ${Break}
        ${EndIf}
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
            "$INSTDIR\$0 is still running, in this session or in another user's session.$\r$\nClose it there (or sign that user out), then choose Retry." \
            /SD IDCANCEL IDRETRY retry
        Abort "$INSTDIR\$0 is running."
    retry:
    ${Loop}
    Pop $0
FunctionEnd
!macroend
!insertmacro REQUIRE_NOT_RUNNING ""
!insertmacro REQUIRE_NOT_RUNNING "un."

; Lets the local Users group (S-1-5-32-545, whatever its name in this language) change the
; one file named in $0, keeping the rights it has: the companion runs at the user's level
; and saves Ping.cfg in the program folder, where the users may create nothing.
!define MODIFY_RIGHTS 0x1301BF  ; read, write, execute and delete
Function GrantUsersChange
    Push $1
    Push $2
    Push $3
    Push $4
    Push $5
    Push $6
    System::Call 'advapi32::ConvertStringSidToSidW(w "S-1-5-32-545", *p .r1) i .r2'
    ${If} $2 <> 0
        ; GetNamedSecurityInfoW(file, SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, ...)
        System::Call 'advapi32::GetNamedSecurityInfoW(w r0, i 1, i 4, p 0, p 0, *p .r3, p 0, \
                      *p .r4) i .r2'
        ${If} $2 = 0
            ; EXPLICIT_ACCESS_W: rights, GRANT_ACCESS, no inheritance, and a TRUSTEE_W of a
            ; well-known group given by its SID. 64-bit Windows aligns its pointers to 8.
            !if "${ARCH}" == "x64"
                System::Call '*(i ${MODIFY_RIGHTS}, i 1, i 0, i 0, p 0, i 0, i 0, i 5, i 0, \
                              p r1) p .r5'
            !else
                System::Call '*(i ${MODIFY_RIGHTS}, i 1, i 0, p 0, i 0, i 0, i 5, p r1) p .r5'
            !endif
            System::Call 'advapi32::SetEntriesInAclW(i 1, p r5, p r3, *p .r6) i .r2'
            ${If} $2 = 0
                System::Call 'advapi32::SetNamedSecurityInfoW(w r0, i 1, i 4, p 0, p 0, p r6, \
                              p 0) i .r2'
                System::Call 'kernel32::LocalFree(p r6)'
            ${EndIf}
            System::Free $5
            System::Call 'kernel32::LocalFree(p r4)'
        ${EndIf}
        System::Call 'kernel32::LocalFree(p r1)'
    ${EndIf}
    Pop $6
    Pop $5
    Pop $4
    Pop $3
    Pop $2
    Pop $1
FunctionEnd

; Through the main program's numeric start argument: it starts the companion at the
; user's level, not with the rights of this setup.
Function StartCompanion
    Exec '"$INSTDIR\Zorvane.exe" 1'
FunctionEnd

Function .onInit
    !if "${ARCH}" == "x64"
        SetRegView 64
    !endif
FunctionEnd

Section "Zorvane and Vigilo" SecPrograms
    SectionIn RO
    Call RequireMainClosed
    Call CloseCompanion
    Call RequireNotRunning
    SetOutPath "$INSTDIR"
    File "${APP_DIR}/Zorvane.exe"
    File "${APP_DIR}/vigilo.exe"
    File "${APP_DIR}/TIPs.TXT"
    File "${APP_DIR}/Ping.wav"
    File /r "${APP_DIR}/Help"
    ; Zorvane.cfg and Ping.cfg are the user's: an upgrade keeps them. Ping.cfg is made
    ; here, with the defaults, so that the users can be given the right to change it.
    StrCpy $0 "$INSTDIR\Ping.cfg"
    ${IfNot} ${FileExists} "$0"
        FileOpen $1 "$0" w
        FileWrite $1 "PingAutomatic,#TRUE#$\r$\nPingHost,www.wikipedia.org$\r$\n"
        FileWrite $1 "PingInterval,5$\r$\nPingSound,#FALSE#$\r$\n"
        FileClose $1
    ${EndIf}
    Call GrantUsersChange
    WriteUninstaller "$INSTDIR\uninstall.exe"

    SetShellVarContext all
    CreateDirectory "$SMPROGRAMS\Zorvane"
    CreateShortcut "$SMPROGRAMS\Zorvane\Zorvane.lnk" "$INSTDIR\Zorvane.exe"
    CreateShortcut "$SMPROGRAMS\Zorvane\Vigilo.lnk" "$INSTDIR\vigilo.exe"
    CreateShortcut "$SMPROGRAMS\Zorvane\User's Guide.lnk" "$INSTDIR\Help\help.htm"
    CreateShortcut "$SMPROGRAMS\Zorvane\Uninstall Zorvane.lnk" "$INSTDIR\uninstall.exe"

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Zorvane"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Zorvane.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Windows starts the companion itself at logon: a program that asks for administrator
; rights (Zorvane.exe) would not be started from a Run entry.
Section "Start Vigilo at logon" SecRun
    WriteRegStr HKLM "${RUN_KEY}" "Vigilo" '"$INSTDIR\vigilo.exe"'
SectionEnd

; An upgrade without the option takes the entry of the older install away.
Section "-Logon entry off"
    ${IfNot} ${SectionIsSelected} ${SecRun}
        DeleteRegValue HKLM "${RUN_KEY}" "Vigilo"
    ${EndIf}
SectionEnd

Function un.onInit
    !if "${ARCH}" == "x64"
        SetRegView 64
    !endif
FunctionEnd

; Undoes all of Zorvane's changes with the installed main program, when the command line
; asks for it (/RESTORE) or the user says so: the settings as they were before its first
; change, from the snapshot it kept of them (so it runs before the Snapshots folder goes),
; or without one every value Zorvane writes removed. A refusal stops the uninstall, so that
; the program stays to undo them with.
Function un.RestoreDefaults
    Push $0
    Push $1
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/RESTORE" $1
    ${If} ${Errors}
        MessageBox MB_YESNO|MB_ICONQUESTION \
            "Undo all changes Zorvane made to the TCP/IP settings before it is removed?$\r$\n$\r$\nThe values Zorvane wrote stay in effect otherwise." \
            /SD IDNO IDYES restore
        Goto done
    ${EndIf}
restore:
    ExecWait '"$INSTDIR\Zorvane.exe" /undo all' $1
    ${If} $1 <> 0
        MessageBox MB_OK|MB_ICONSTOP \
            "The changes could not be undone (Zorvane.exe /undo all ended with code $1).$\r$\nZorvane has not been removed." \
            /SD IDOK
        Abort "The changes could not be undone."
    ${EndIf}
done:
    Pop $1
    Pop $0
FunctionEnd

Section Uninstall
    Call un.RequireMainClosed
    Call un.CloseCompanion
    Call un.RequireNotRunning
    Call un.RestoreDefaults
    Delete "$INSTDIR\Zorvane.exe"
    Delete "$INSTDIR\vigilo.exe"
    Delete "$INSTDIR\TIPs.TXT"
    Delete "$INSTDIR\Ping.wav"
    ; With the temporary files a save cut short may have left beside them.
    Delete "$INSTDIR\Ping.cfg"
    Delete "$INSTDIR\Ping.cfg.tmp"
    Delete "$INSTDIR\Zorvane.cfg"
    Delete "$INSTDIR\Zorvane.cfg.tmp"
    Delete "$INSTDIR\Help\help.htm"
    RMDir "$INSTDIR\Help"
    ; The records Undo keeps of each Apply and Restore.
    RMDir /r "$INSTDIR\Snapshots"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"

    SetShellVarContext all
    Delete "$SMPROGRAMS\Zorvane\Zorvane.lnk"
    Delete "$SMPROGRAMS\Zorvane\Vigilo.lnk"
    Delete "$SMPROGRAMS\Zorvane\User's Guide.lnk"
    Delete "$SMPROGRAMS\Zorvane\Uninstall Zorvane.lnk"
    RMDir "$SMPROGRAMS\Zorvane"

    DeleteRegValue HKLM "${RUN_KEY}" "Vigilo"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    ; What the user who uninstalls keeps of the programs: the tip option, the companion's
    ; options, its log and its lasting record of the probes.
    DeleteRegKey HKCU "Software\Zorvane"
    SetShellVarContext current
    RMDir /r "$APPDATA\Zorvane"
    RMDir /r "$LOCALAPPDATA\Zorvane"
SectionEnd
