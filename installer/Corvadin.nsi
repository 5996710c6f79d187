; Corvadin's installer, one script for both builds:
;   makensis -NOCD -DCORVADIN_BUILD_NSH=<build>/installer/CorvadinBuild.nsh Corvadin.nsi
; The build's CorvadinBuild.nsh, written by installer/CMakeLists.txt, names the version, the output file, the
; tasks and the programs to pack: the 32-bit ones (CORVADIN_x86_GUI_EXE, CORVADIN_x86_CLI_EXE), the 64-bit ones
; (CORVADIN_x64_...) or both; and it writes the log-on task's definition (CORVADIN_WRITE_LOGON_TASK). A setup with
; both installs the 64-bit programs on 64-bit Windows and the 32-bit ones elsewhere, each into its own Program
; Files folder and registry view, and an update replaces an installation of the other bitness.
; Silent use: Corvadin-Setup.exe /S [/STARTATLOGON | /NOSTARTATLOGON] [/D=dir]

!include "${CORVADIN_BUILD_NSH}"

!ifdef CORVADIN_x86_GUI_EXE | CORVADIN_x86_CLI_EXE
  !define PACKS_X86
!endif
!ifdef CORVADIN_x64_GUI_EXE | CORVADIN_x64_CLI_EXE
  !define PACKS_X64
!endif
!ifdef CORVADIN_x86_GUI_EXE | CORVADIN_x64_GUI_EXE
  !define PACKS_GUI
!endif
!ifndef PACKS_X86
  !ifndef PACKS_X64
    !error "Neither Corvadin.exe nor corvadin-cli.exe was given to pack"
  !endif
!endif

; A 32-bit setup runs everywhere and can install either bitness; one with the 64-bit programs alone needs not.
!ifdef PACKS_X86
  Target x86-unicode
!else
  Target amd64-unicode
!endif

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include TextFunc.nsh
!include Sections.nsh
!include WordFunc.nsh
!include x64.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Corvadin"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUNONCE_KEY "Software\Microsoft\Windows\CurrentVersion\RunOnce"
!define APP_PATH_KEY "Software\Microsoft\Windows\CurrentVersion\App Paths\Corvadin.exe"
!define SETTINGS_KEY "Software\Quenmark\Corvadin"
!define MAKER_KEY "Software\Quenmark"
; The caption of the running program's hidden owner window, the one it is found by.
!define RUNNING_WINDOW "zintavodlg"
!define START_MENU "$SMPROGRAMS\Corvadin"
Name "Corvadin"
OutFile "${CORVADIN_OUTFILE}"
BrandingText "Corvadin ${CORVADIN_VERSION}"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
; A file that cannot be written (a copy still running) stops the installation instead of being skipped, so
; that a half-updated program is never reported as installed.
AllowSkipFiles off
; No InstallDir: .onInit chooses the folder once it knows which programs this Windows gets; /D= overrides it.

; 64 or 32: the bitness of the programs installed, whose registry view and Program Files folder are used.
Var Bits
; The other view, where an installation of the other bitness may be; empty on 32-bit Windows.
Var OtherBits
; 1 when this setup, or the one that installed the folder's earlier version, made the installation folder: only
; then does the uninstaller take it away once it is empty.
Var FolderCreated

!ifdef CORVADIN_ICON
  !define MUI_ICON "${CORVADIN_ICON}"
  !define MUI_UNICON "${CORVADIN_ICON}"
!endif
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC

!define MUI_PAGE_CUSTOMFUNCTION_LEAVE RefuseUnprotectableDrive
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!ifdef CORVADIN_README
  !define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\README.txt"
  !define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!endif
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${CORVADIN_VERSION}.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "Corvadin"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${CORVADIN_VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${CORVADIN_VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "Corvadin Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${CORVADIN_COMPANY}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "${CORVADIN_COPYRIGHT}"

; Files in use cannot be replaced or removed: ask for the running copy to be ended first. A silent run
; gives up (exit code 2) rather than leave a mixture of old and new files.
!macro WAIT_UNTIL_CLOSED un
Function ${un}WaitUntilClosed
  retry:
  FindWindow $0 "" "${RUNNING_WINDOW}"
  ${If} $0 <> 0
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
      "Corvadin is running. End it with Exit in the menu of its notification-area icon, then press Retry." \
      /SD IDCANCEL IDRETRY retry
    Abort
  ${EndIf}
FunctionEnd
!macroend
!insertmacro WAIT_UNTIL_CLOSED ""
!insertmacro WAIT_UNTIL_CLOSED "un."

; SetRegView takes no variable.
!macro SET_VIEW bits
  ${If} ${bits} == 64
    SetRegView 64
  ${Else}
    SetRegView 32
  ${EndIf}
!macroend

; The installer and the uninstaller decide alike, so that the uninstaller finds what the installer wrote.
!macro USE_PROGRAM_VIEW
  SetShellVarContext all
  !ifdef PACKS_X86
    StrCpy $Bits 32
    StrCpy $OtherBits ""
    ${If} ${RunningX64}
      !ifdef PACKS_X64
        StrCpy $Bits 64
        StrCpy $OtherBits 32
      !else
        StrCpy $OtherBits 64
      !endif
    ${EndIf}
  !else
    ; A 64-bit setup does not even start on 32-bit Windows.
    StrCpy $Bits 64
    StrCpy $OtherBits 32
  !endif
  !insertmacro SET_VIEW $Bits
!macroend

; The Task Scheduler's own tool, run without a window; it takes a task's definition as a UTF-16 file. Leaves
; the exit code on the stack (0: done).
!macro START_TASK_COMMAND arguments
  nsExec::Exec '"$SYSDIR\schtasks.exe" ${arguments}'
!macroend

; The list of the files an installation put into its folder, beside them: an update and the uninstaller remove
; those and nothing else, since the folder may be shared with other programs (/D=).
!define FILE_LIST "Corvadin-files.txt"

; Writes the list of what the section installed; the help pages are whatever this setup packed.
Function WriteFileList
  ClearErrors
  FileOpen $9 "$INSTDIR\${FILE_LIST}" w
  ${If} ${Errors}
    DetailPrint "The list of installed files could not be written; an uninstallation will remove them by name."
    Return
  ${EndIf}
  ${If} ${FileExists} "$INSTDIR\Corvadin.exe"
    FileWrite $9 "Corvadin.exe$\r$\n"
  ${EndIf}
  ${If} ${FileExists} "$INSTDIR\corvadin-cli.exe"
    FileWrite $9 "corvadin-cli.exe$\r$\n"
  ${EndIf}
  !ifdef CORVADIN_README
    FileWrite $9 "README.txt$\r$\n"
  !endif
  !ifdef CORVADIN_SOUND
    FileWrite $9 "Sound\notify.wav$\r$\n"
  !endif
  FindFirst $1 $2 "$INSTDIR\Help\help\*"
  ${DoWhile} $2 != ""
    ${IfNot} ${FileExists} "$INSTDIR\Help\help\$2\*"
      FileWrite $9 "Help\help\$2$\r$\n"
    ${EndIf}
    FindNext $1 $2
  ${Loop}
  FindClose $1
  FileWrite $9 "uninstall.exe$\r$\n"
  FileClose $9
FunctionEnd

; The program files in the folder $R0 by its list, not the user's files beside them nor another program's. An
; installation of an earlier version kept no list: its files go by the names it used.
!macro REMOVE_PROGRAM_FILES un
Function ${un}RemoveProgramFiles
  ClearErrors
  FileOpen $3 "$R0\${FILE_LIST}" r
  ${If} ${Errors}
    Delete /REBOOTOK "$R0\Corvadin.exe"
    Delete /REBOOTOK "$R0\corvadin-cli.exe"
    Delete "$R0\README.txt"
    Delete "$R0\Sound\notify.wav"
    Delete "$R0\Help\help\*.html"
    Delete "$R0\Help\help\*.css"
    Delete "$R0\uninstall.exe"
  ${Else}
    ${Do}
      ClearErrors
      FileRead $3 $4
      ${If} ${Errors}
        ${Break}
      ${EndIf}
      ${TrimNewLines} $4 $4
      Call ${un}IsNameInside
      ${If} $5 == "yes"
        Delete /REBOOTOK "$R0\$4"
      ${EndIf}
    ${Loop}
    FileClose $3
    Delete "$R0\${FILE_LIST}"
  ${EndIf}
  RMDir "$R0\Sound"
  RMDir "$R0\Help\help"
  RMDir "$R0\Help"
FunctionEnd

; $5 = "yes" when the name $4 names one file inside the folder: not empty, no drive, no parent, not from the root,
; no wildcard. A damaged or altered list must not reach beyond the installation's own files.
Function ${un}IsNameInside
  StrCpy $5 "yes"
  StrCpy $6 $4 1
  ${If} $4 == ""
  ${OrIf} $6 == "\"
  ${OrIf} $6 == "/"
    StrCpy $5 ""
  ${EndIf}
  StrCpy $7 0
  ${Do}
    StrCpy $6 $4 2 $7
    ${If} $6 == ""
      ${Break}
    ${EndIf}
    StrCpy $8 $6 1
    ${If} $6 == ".."
    ${OrIf} $8 == ":"
    ${OrIf} $8 == "*"
    ${OrIf} $8 == "?"
      StrCpy $5 ""
    ${EndIf}
    IntOp $7 $7 + 1
  ${Loop}
FunctionEnd
!macroend
!insertmacro REMOVE_PROGRAM_FILES ""
!insertmacro REMOVE_PROGRAM_FILES "un."

; Moves the user's Corvadin files matching pattern from $R0 into $INSTDIR, never over a file there.
!macro MOVE_USERS_FILES pattern
  FindFirst $1 $2 "$R0\${pattern}"
  ${DoWhile} $2 != ""
    ${IfNot} ${FileExists} "$R0\$2\*"
    ${AndIfNot} ${FileExists} "$INSTDIR\$2"
      Rename "$R0\$2" "$INSTDIR\$2"
    ${EndIf}
    FindNext $1 $2
  ${Loop}
  FindClose $1
!macroend

; $R2 = "same" when the folder $R0 is $INSTDIR, however either is spelled (case, a trailing backslash, a short
; name, a link): a mark made in one is looked for in the other.
Function IsInstallFolder
  StrCpy $R2 ""
  ClearErrors
  FileOpen $9 "$INSTDIR\corvadin-setup-mark.tmp" w
  ${IfNot} ${Errors}
    FileClose $9
    ${If} ${FileExists} "$R0\corvadin-setup-mark.tmp"
      StrCpy $R2 "same"
    ${EndIf}
    Delete "$INSTDIR\corvadin-setup-mark.tmp"
  ${EndIf}
FunctionEnd

; What the installer and the program write in the current registry view, but the settings and the uninstall
; entry.
!macro REMOVE_START_ENTRIES
  DeleteRegValue HKLM "${RUN_KEY}" "Corvadin"
  DeleteRegValue HKLM "${RUNONCE_KEY}" "Fenwarder"
  DeleteRegKey HKLM "${APP_PATH_KEY}"
!macroend

!macro REMOVE_SETTINGS
  DeleteRegKey HKLM "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKLM "${MAKER_KEY}"
!macroend

; The log-on start: the Run value, and the task that starts the program where User Account Control is on.
; Both or neither, as the program keeps them.
Function CreateLogonStart
  ; Quoted: the folder's name holds blanks, and an unquoted path there would start whatever C:\Program.exe is.
  WriteRegStr HKLM "${RUN_KEY}" "Corvadin" '"$INSTDIR\Corvadin.exe" /scanstartup'
  InitPluginsDir
  ${WordReplace} "$INSTDIR" "&" "&amp;" "+" $R9
  ClearErrors
  FileOpen $0 "$PLUGINSDIR\logon-task.xml" w
  FileWriteUTF16LE /BOM $0 ""
  !insertmacro CORVADIN_WRITE_LOGON_TASK $0
  FileClose $0
  !insertmacro START_TASK_COMMAND '/Create /TN "${CORVADIN_LOGON_TASK}" /XML "$PLUGINSDIR\logon-task.xml" /F'
  Pop $0
  ${If} $0 != 0
  ${OrIf} ${Errors}
    DetailPrint "The task that starts Corvadin at log-on could not be created ($0), so it will not start at log-on."
    DeleteRegValue HKLM "${RUN_KEY}" "Corvadin"
  ${EndIf}
FunctionEnd

!macro REMOVE_START_TASKS
  !insertmacro START_TASK_COMMAND '/Delete /TN "${CORVADIN_LOGON_TASK}" /F'
  Pop $0
  !insertmacro START_TASK_COMMAND '/Delete /TN "${CORVADIN_REBOOT_TASK}" /F'
  Pop $0
!macroend

; An installation of the other bitness in the other registry view gives way to this one: its settings move here
; unless this view has its own, its entries and program files go, and the user's Corvadin files in its folder
; (rollback and backup files, run records, the log, Corvadin.ini) move into this folder; anything else there stays,
; and so does the folder unless it is empty then.
Function ReplaceOtherInstallation
  ${If} $OtherBits == ""
    Return
  ${EndIf}
  !insertmacro SET_VIEW $OtherBits
  ClearErrors
  ReadRegStr $R0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} ${Errors}
    !insertmacro SET_VIEW $Bits
    Return
  ${EndIf}
  DetailPrint "Replacing the $OtherBits-bit installation in $R0"
  !insertmacro SET_VIEW $Bits
  ; $R1: 0 once the other view's settings may go. Settings of this view are newer and stay as they are.
  StrCpy $R1 0
  ClearErrors
  EnumRegKey $0 HKLM "${SETTINGS_KEY}" 0
  ${If} ${Errors}
    InitPluginsDir
    nsExec::Exec '"$SYSDIR\reg.exe" export "HKLM\${SETTINGS_KEY}" "$PLUGINSDIR\settings.reg" /y /reg:$OtherBits'
    Pop $R1
    ${If} $R1 == 0
      nsExec::Exec '"$SYSDIR\reg.exe" import "$PLUGINSDIR\settings.reg" /reg:$Bits'
      Pop $R1
    ${EndIf}
    ${If} $R1 != 0
      DetailPrint "The settings of the $OtherBits-bit installation could not be moved; they stay where they are."
    ${EndIf}
  ${EndIf}
  !insertmacro SET_VIEW $OtherBits
  !insertmacro REMOVE_START_ENTRIES
  ${If} $R1 == 0
    !insertmacro REMOVE_SETTINGS
  ${EndIf}
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  !insertmacro SET_VIEW $Bits
  ${If} $R0 == ""
    Return
  ${EndIf}
  Call IsInstallFolder
  ${If} $R2 == "same"
    Return
  ${EndIf}
  Call RemoveProgramFiles
  ; The user's own files go with the program, by the names the program gives them; the log by the name its
  ; Corvadin.ini gives, read before that moves.
  ReadINIStr $R3 "$R0\Corvadin.ini" "Common" "LogName"
  StrCpy $4 $R3
  Call IsNameInside
  ${If} $5 == "yes"
    !insertmacro MOVE_USERS_FILES "$R3"
  ${EndIf}
  !insertmacro MOVE_USERS_FILES "Corvadin.ini"
  !insertmacro MOVE_USERS_FILES "rollback??????????????_*.reg"
  !insertmacro MOVE_USERS_FILES "file??????????????_*.fso"
  !insertmacro MOVE_USERS_FILES "??????????????_*.fso"
  !insertmacro MOVE_USERS_FILES "run??????????????_*.txt"
  RMDir "$R0"
FunctionEnd

; The installation folder's permissions, those of the Program Files folder: Administrators and SYSTEM may do
; anything, users may read and run. Nothing is inherited from the parent folder, where every user may be allowed
; to create files (as at the root of C:), and the owner is the Administrators group, so that a user who made the
; folder beforehand keeps no right to change its permissions. The log-on task starts the program with the rights
; of whoever logs on, so whoever may change this folder may gain an administrator's rights.
!define PROTECTED_FOLDER_SDDL "O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)"
!define SE_FILE_OBJECT 1
; OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, and PROTECTED_DACL_SECURITY_INFORMATION to set them.
!define OWNER_AND_DACL 5
!define SET_PROTECTED_OWNER_AND_DACL 0x80000005
!define FILE_PERSISTENT_ACLS 8
!ifndef DRIVE_REMOTE
  !define DRIVE_REMOTE 4
!endif

; Ends the installation, or keeps the folder page, with the reason the folder cannot be protected. The folder
; goes again if this setup made it.
!macro REFUSE_FOLDER reason
  DetailPrint "${reason}"
  MessageBox MB_OK|MB_ICONSTOP "${reason}" /SD IDOK
  ${If} $FolderCreated == 1
    RMDir "$INSTDIR"
  ${EndIf}
  Abort
!macroend

; A network folder or a drive without permissions (FAT) cannot be kept from users. A network path is refused as
; it is written, without a look at the network.
Function RefuseUnprotectableDrive
  StrCpy $0 "$INSTDIR" 2
  StrCpy $3 0
  ${If} $0 != "\\"
    StrCpy $1 "$INSTDIR" 3
    System::Call 'kernel32::GetDriveTypeW(w r1) i .r2'
    ${If} $2 != ${DRIVE_REMOTE}
      System::Call 'kernel32::GetVolumeInformationW(w r1, p 0, i 0, p 0, p 0, *i 0 r3, p 0, i 0)'
      IntOp $3 $3 & ${FILE_PERSISTENT_ACLS}
    ${EndIf}
  ${EndIf}
  ${If} $3 == 0
    StrCpy $FolderCreated 0
    !insertmacro REFUSE_FOLDER "Corvadin cannot be installed in $INSTDIR: a network folder or a drive without \
      permissions (FAT) cannot keep users who are not administrators from changing the program, which runs with \
      an administrator's rights. Choose a folder on a local NTFS drive, such as the Program Files folder."
  ${EndIf}
FunctionEnd

; $0: the owner and access list of $INSTDIR as text, empty when they cannot be read.
Function ReadFolderPermissions
  StrCpy $0 ""
  System::Call 'advapi32::GetNamedSecurityInfoW(w "$INSTDIR", i ${SE_FILE_OBJECT}, i ${OWNER_AND_DACL}, p 0, p 0, \
    p 0, p 0, *p 0 r1) i .r2'
  ${If} $2 == 0
    System::Call 'advapi32::ConvertSecurityDescriptorToStringSecurityDescriptorW(p r1, i 1, i ${OWNER_AND_DACL}, \
      *p 0 r3, p 0) i .r2'
    ${If} $2 != 0
      System::Call 'kernel32::lstrcpynW(w .r0, p r3, i ${NSIS_MAX_STRLEN})'
      System::Call 'kernel32::LocalFree(p r3)'
    ${EndIf}
    System::Call 'kernel32::LocalFree(p r1)'
  ${EndIf}
FunctionEnd

; Clears $1 when the permissions in $0 give group more than to read and run.
!macro CLEAR_IF_GROUP_MAY_CHANGE group
  ${WordReplace} "$0" "(A;OICI;0x1200a9;;;${group})" "" "+" $2
  ${WordReplace} "$2" ";${group})" "" "+" $3
  ${If} $3 != $2
    StrCpy $1 0
  ${EndIf}
!macroend

; Whether the permissions read back in $0 let no group of every user (Users, Authenticated Users, Everyone,
; Interactive) do more than read and run. $1: 1 if so.
Function CheckFolderPermissions
  StrCpy $1 1
  ${If} $0 == ""
    StrCpy $1 0
  ${EndIf}
  !insertmacro CLEAR_IF_GROUP_MAY_CHANGE BU
  !insertmacro CLEAR_IF_GROUP_MAY_CHANGE AU
  !insertmacro CLEAR_IF_GROUP_MAY_CHANGE WD
  !insertmacro CLEAR_IF_GROUP_MAY_CHANGE IU
FunctionEnd

; Makes the installation folder if need be and gives it the protected permissions, before any file goes in, so
; that every file inherits them; reads them back and refuses the folder when they did not take.
Function ProtectInstallFolder
  Call RefuseUnprotectableDrive
  StrCpy $FolderCreated 0
  ${IfNot} ${FileExists} "$INSTDIR\*"
    StrCpy $FolderCreated 1
  ${Else}
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ReadRegDWORD $1 HKLM "${UNINSTALL_KEY}" "InstallFolderCreated"
    ${If} $0 == $INSTDIR
    ${AndIf} $1 == 1
      StrCpy $FolderCreated 1
    ${EndIf}
  ${EndIf}
  CreateDirectory "$INSTDIR"
  StrCpy $5 "no descriptor"
  System::Call 'advapi32::ConvertStringSecurityDescriptorToSecurityDescriptorW(w "${PROTECTED_FOLDER_SDDL}", i 1, \
    *p 0 r1, p 0) i .r2'
  ${If} $2 != 0
    System::Call 'advapi32::GetSecurityDescriptorOwner(p r1, *p 0 r3, *i 0) i .r2'
    System::Call 'advapi32::GetSecurityDescriptorDacl(p r1, *i 0, *p 0 r4, *i 0) i .r2'
    System::Call 'advapi32::SetNamedSecurityInfoW(w "$INSTDIR", i ${SE_FILE_OBJECT}, \
      i ${SET_PROTECTED_OWNER_AND_DACL}, p r3, p 0, p r4, p 0) i .r5'
    System::Call 'kernel32::LocalFree(p r1)'
  ${EndIf}
  Call ReadFolderPermissions
  Call CheckFolderPermissions
  ${If} $1 != 1
  ${OrIf} $5 != 0
    !insertmacro REFUSE_FOLDER "Corvadin cannot be installed in $INSTDIR: its permissions could not be set so that \
      only administrators may change it (error $5; they read: $0). Choose another folder, such as the \
      Program Files folder."
  ${EndIf}
  DetailPrint "Only administrators and SYSTEM may change $INSTDIR, users may read and run it: $0"
FunctionEnd

Section "Corvadin" SecProgram
  SectionIn RO
  Call ProtectInstallFolder
  SetOutPath "$INSTDIR"
  ${If} $Bits == 64
    !ifdef CORVADIN_x64_GUI_EXE
      File "/oname=Corvadin.exe" "${CORVADIN_x64_GUI_EXE}"
    !endif
    !ifdef CORVADIN_x64_CLI_EXE
      File "/oname=corvadin-cli.exe" "${CORVADIN_x64_CLI_EXE}"
    !endif
  ${Else}
    !ifdef CORVADIN_x86_GUI_EXE
      File "/oname=Corvadin.exe" "${CORVADIN_x86_GUI_EXE}"
    !endif
    !ifdef CORVADIN_x86_CLI_EXE
      File "/oname=corvadin-cli.exe" "${CORVADIN_x86_CLI_EXE}"
    !endif
  ${EndIf}
  !ifdef CORVADIN_README
    File "/oname=README.txt" "${CORVADIN_README}"
  !endif
  !ifdef CORVADIN_SOUND
    SetOutPath "$INSTDIR\Sound"
    File "/oname=notify.wav" "${CORVADIN_SOUND}"
    SetOutPath "$INSTDIR"
  !endif
  !ifdef CORVADIN_HELP
    SetOutPath "$INSTDIR\Help\help"
    File "${CORVADIN_HELP}\*.html"
    File "${CORVADIN_HELP}\*.css"
    SetOutPath "$INSTDIR"
  !endif
  WriteUninstaller "$INSTDIR\uninstall.exe"
  Call WriteFileList

  ; The shortcuts start in the installation folder ($OUTDIR), where Corvadin.ini is read and rollback files go.
  CreateDirectory "${START_MENU}"
  !ifdef PACKS_GUI
    CreateShortcut "${START_MENU}\Corvadin.lnk" "$INSTDIR\Corvadin.exe"
  !endif
  !ifdef CORVADIN_README
    CreateShortcut "${START_MENU}\Corvadin README.lnk" "$INSTDIR\README.txt"
  !endif

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Corvadin"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${CORVADIN_VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${CORVADIN_COMPANY}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  !ifdef PACKS_GUI
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" '"$INSTDIR\Corvadin.exe",0'
  !endif
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "InstallFolderCreated" $FolderCreated
  SectionGetSize ${SecProgram} $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0

  ; The old installation goes only once this one is complete, and before the entries that may share a key
  ; with it (Windows keeps some keys apart per bitness, some not) are written.
  Call ReplaceOtherInstallation
  !ifdef PACKS_GUI
    WriteRegStr HKLM "${APP_PATH_KEY}" "" "$INSTDIR\Corvadin.exe"
    WriteRegStr HKLM "${APP_PATH_KEY}" "Path" "$INSTDIR"
  !endif
SectionEnd

!ifdef PACKS_GUI
Section /o "Start at log-on with a background scan" SecLogon
  Call CreateLogonStart
SectionEnd

Section "-Log-on start left off"
  ${IfNot} ${SectionIsSelected} ${SecLogon}
    DeleteRegValue HKLM "${RUN_KEY}" "Corvadin"
    !insertmacro START_TASK_COMMAND '/Delete /TN "${CORVADIN_LOGON_TASK}" /F'
    Pop $0
  ${EndIf}
SectionEnd
!endif

; Whether a Run value for the log-on start is in the current view.
!macro IF_LOGON_START_KEPT
  ClearErrors
  ReadRegStr $0 HKLM "${RUN_KEY}" "Corvadin"
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecLogon}
  ${EndIf}
!macroend

; Where an update goes: where this view's installation is, else where the other view's is unless that is the
; other Program Files folder, else this bitness's Program Files folder.
Function ChooseFolder
  ${If} $INSTDIR != ""
    Return
  ${EndIf}
  ReadRegStr $INSTDIR HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $INSTDIR == ""
  ${AndIf} $OtherBits != ""
    !insertmacro SET_VIEW $OtherBits
    ReadRegStr $INSTDIR HKLM "${UNINSTALL_KEY}" "InstallLocation"
    !insertmacro SET_VIEW $Bits
    ; From the environment: a 64-bit setup's $PROGRAMFILES32 is not the 32-bit folder.
    ${If} $OtherBits == 64
      ReadEnvStr $1 "ProgramW6432"
    ${Else}
      ReadEnvStr $1 "ProgramFiles(x86)"
    ${EndIf}
    StrLen $2 "$1\"
    StrCpy $3 $INSTDIR $2
    ${If} $3 == "$1\"
      StrCpy $INSTDIR ""
    ${EndIf}
  ${EndIf}
  ${If} $INSTDIR == ""
    ${If} $Bits == 64
      StrCpy $INSTDIR "$PROGRAMFILES64\Corvadin"
    ${Else}
      StrCpy $INSTDIR "$PROGRAMFILES32\Corvadin"
    ${EndIf}
  ${EndIf}
FunctionEnd

Function .onInit
  !insertmacro USE_PROGRAM_VIEW
  Call WaitUntilClosed
  Call ChooseFolder
  !ifdef PACKS_GUI
    ; An update keeps the log-on start as it was, in either view; the command line may override it.
    !insertmacro IF_LOGON_START_KEPT
    ${If} $OtherBits != ""
      !insertmacro SET_VIEW $OtherBits
      !insertmacro IF_LOGON_START_KEPT
      !insertmacro SET_VIEW $Bits
    ${EndIf}
    ${GetParameters} $R0
    ClearErrors
    ${GetOptions} $R0 "/STARTATLOGON" $R1
    ${IfNot} ${Errors}
      !insertmacro SelectSection ${SecLogon}
    ${EndIf}
    ClearErrors
    ${GetOptions} $R0 "/NOSTARTATLOGON" $R1
    ${IfNot} ${Errors}
      !insertmacro UnselectSection ${SecLogon}
    ${EndIf}
  !endif
FunctionEnd

Function un.onInit
  !insertmacro USE_PROGRAM_VIEW
  Call un.WaitUntilClosed
FunctionEnd

; Removes what the installer and the program wrote, and nothing else: rollback and backup files, logs and a
; Corvadin.ini of the user's stay, and with them the folder that holds them, as does a folder the setup did not
; make.
Section "Uninstall"
  StrCpy $R0 $INSTDIR
  Call un.RemoveProgramFiles
  Delete "${START_MENU}\Corvadin.lnk"
  Delete "${START_MENU}\Corvadin README.lnk"
  RMDir "${START_MENU}"

  !insertmacro REMOVE_START_TASKS
  !insertmacro REMOVE_START_ENTRIES
  !insertmacro REMOVE_SETTINGS
  ; The other view's entries belong to nobody else unless an installation there has its own uninstall entry.
  ${If} $OtherBits != ""
    !insertmacro SET_VIEW $OtherBits
    ClearErrors
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} ${Errors}
      !insertmacro REMOVE_START_ENTRIES
      !insertmacro REMOVE_SETTINGS
    ${EndIf}
    !insertmacro SET_VIEW $Bits
  ${EndIf}

  ; A folder the user had before the installation stays, empty or not.
  ReadRegDWORD $0 HKLM "${UNINSTALL_KEY}" "InstallFolderCreated"
  ${If} $0 == 1
    RMDir "$INSTDIR"
  ${EndIf}
  ; Last: while the entry is there, the uninstallation has not finished.
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
