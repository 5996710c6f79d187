; Corvadin's installer, one script for both builds:
;   makensis -NOCD -DCORVADIN_BUILD_NSH=<build>/installer/CorvadinBuild.nsh Corvadin.nsi
; The build's CorvadinBuild.nsh names the version, the architecture, the output file and the files to pack;
; installer/CMakeLists.txt writes it. Silent use: Corvadin-Setup.exe /S [/STARTATLOGON | /NOSTARTATLOGON] [/D=dir]

!include "${CORVADIN_BUILD_NSH}"

!ifndef CORVADIN_GUI_EXE
  !ifndef CORVADIN_CLI_EXE
    !error "Neither Corvadin.exe nor corvadin-cli.exe was given to pack"
  !endif
!endif

!if "${CORVADIN_ARCH}" == "x64"
  Target amd64-unicode
!else
  Target x86-unicode
!endif

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh
!include x64.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Corvadin"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUNONCE_KEY "Software\Microsoft\Windows\CurrentVersion\RunOnce"
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
!if "${CORVADIN_ARCH}" == "x64"
  InstallDir "$PROGRAMFILES64\Corvadin"
!else
  InstallDir "$PROGRAMFILES\Corvadin"
!endif
; An update goes where the previous installation is. The installer runs with the program's own bitness, so
; it reads and writes the same registry view as the program does.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"

!ifdef CORVADIN_ICON
  !define MUI_ICON "${CORVADIN_ICON}"
  !define MUI_UNICON "${CORVADIN_ICON}"
!endif
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC

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

!macro USE_PROGRAM_VIEW
  SetShellVarContext all
  !if "${CORVADIN_ARCH}" == "x64"
    SetRegView 64
  !endif
!macroend

Section "Corvadin" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  !ifdef CORVADIN_GUI_EXE
    File "/oname=Corvadin.exe" "${CORVADIN_GUI_EXE}"
  !endif
  !ifdef CORVADIN_CLI_EXE
    File "/oname=corvadin-cli.exe" "${CORVADIN_CLI_EXE}"
  !endif
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

  ; The shortcuts start in the installation folder ($OUTDIR), where Corvadin.ini is read and rollback files go.
  CreateDirectory "${START_MENU}"
  !ifdef CORVADIN_GUI_EXE
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
  !ifdef CORVADIN_GUI_EXE
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" '"$INSTDIR\Corvadin.exe",0'
  !endif
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  SectionGetSize ${SecProgram} $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

!ifdef CORVADIN_GUI_EXE
Section /o "Start at log-on with a background scan" SecLogon
  ; Quoted: the folder's name holds blanks, and an unquoted path there would start whatever C:\Program.exe is.
  WriteRegStr HKLM "${RUN_KEY}" "Corvadin" '"$INSTDIR\Corvadin.exe" /scanstartup'
SectionEnd

Section "-Log-on start left off"
  ${IfNot} ${SectionIsSelected} ${SecLogon}
    DeleteRegValue HKLM "${RUN_KEY}" "Corvadin"
  ${EndIf}
SectionEnd
!endif

Function .onInit
  !if "${CORVADIN_ARCH}" == "x64"
    ${IfNot} ${RunningX64}
      MessageBox MB_ICONSTOP "This is Corvadin for 64-bit Windows. On 32-bit Windows install Corvadin-Setup.exe." \
        /SD IDOK
      Abort
    ${EndIf}
  !endif
  !insertmacro USE_PROGRAM_VIEW
  Call WaitUntilClosed
  !ifdef CORVADIN_GUI_EXE
    ; An update keeps the log-on start as it was; the command line may override it.
    ClearErrors
    ReadRegStr $0 HKLM "${RUN_KEY}" "Corvadin"
    ${IfNot} ${Errors}
      !insertmacro SelectSection ${SecLogon}
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
; Corvadin.ini of the user's stay, and with them the folder that holds them.
Section "Uninstall"
  Delete /REBOOTOK "$INSTDIR\Corvadin.exe"
  Delete /REBOOTOK "$INSTDIR\corvadin-cli.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\Sound\notify.wav"
  RMDir "$INSTDIR\Sound"
  Delete "$INSTDIR\Help\help\*.html"
  Delete "$INSTDIR\Help\help\*.css"
  RMDir "$INSTDIR\Help\help"
  RMDir "$INSTDIR\Help"
  Delete "${START_MENU}\Corvadin.lnk"
  Delete "${START_MENU}\Corvadin README.lnk"
  RMDir "${START_MENU}"

  DeleteRegValue HKLM "${RUN_KEY}" "Corvadin"
  DeleteRegValue HKLM "${RUNONCE_KEY}" "Fenwarder"
  DeleteRegKey HKLM "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKLM "${MAKER_KEY}"

  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  ; Last: while the entry is there, the uninstallation has not finished.
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
