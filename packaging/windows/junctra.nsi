; The Windows installer: junctra.exe, junctra.com, the product file, the
; licence and the German satellites into Program Files\Junctra, a Start-menu
; shortcut, the program folder on the system's PATH (offered, and chosen
; unless the user clears it), and an uninstaller listed under Add/Remove
; Programs. "setup.exe /S" installs and "uninstall.exe /S" removes silently.
;
; Built by the installer target (Installer.cmake), which defines VERSION
; (1.0), VERSION4 (1.0.0.0), STAGE (the folder holding the files to install),
; ICON (the program's icon) and OUTFILE.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "MUI2.nsh"
!include "WinMessages.nsh"
!include "WordFunc.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Junctra"
!define ENVIRONMENT_KEY "SYSTEM\CurrentControlSet\Control\Session Manager\Environment"

Name "Junctra"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Junctra"
BrandingText "Junctra ${VERSION}"

VIProductVersion "${VERSION4}"
VIAddVersionKey /LANG=0 "ProductName" "Junctra"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileDescription" "Junctra setup"
VIAddVersionKey /LANG=0 "LegalCopyright" "Copyright (c) 2026 The Junctra developers"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_COMPONENTSPAGE_NODESC
; "Run Junctra", unticked by default
!define MUI_FINISHPAGE_RUN "$INSTDIR\junctra.exe"
!define MUI_FINISHPAGE_RUN_NOTCHECKED

!insertmacro MUI_PAGE_LICENSE "${STAGE}/LICENSE.txt"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
; The first is the default; a German system gets German pages.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "German"

LangString PROGRAM_SECTION ${LANG_ENGLISH} "Junctra"
LangString PROGRAM_SECTION ${LANG_GERMAN} "Junctra"
LangString PATH_SECTION ${LANG_ENGLISH} "Add the program folder to PATH (junctra A B in cmd.exe)"
LangString PATH_SECTION ${LANG_GERMAN} "Programmordner zu PATH hinzufügen (junctra A B in cmd.exe)"
LangString PATH_TOO_LONG ${LANG_ENGLISH} "PATH is too long to change safely; it is left as it was."
LangString PATH_TOO_LONG ${LANG_GERMAN} "PATH ist zu lang, um ihn sicher zu ändern; er bleibt, wie er war."

; The shortcut for every user, in the 64-bit registry.
!macro Machine
  SetShellVarContext all
  SetRegView 64
!macroend

; Reads the system's PATH into $0 with ";" before and after and every entry
; that is $INSTDIR taken out; $1 is 1 when the whole value was read, 0 when
; it may be longer than an installer string, and must not be written back.
!macro ReadPathWithoutInstDir
  ReadRegStr $0 HKLM "${ENVIRONMENT_KEY}" "Path"
  StrLen $1 $0
  IntOp $1 $1 + 2
  ${If} $1 >= ${NSIS_MAX_STRLEN}
    StrCpy $1 0
  ${Else}
    StrCpy $1 1
    ${WordReplace} ";$0;" ";$INSTDIR;" ";" "+" $0
  ${EndIf}
!macroend

; Writes $0, as made above, without its outer ";", and tells running
; programs (Explorer) that the environment changed.
!macro WritePath
  StrCpy $0 $0 -1 1
  WriteRegExpandStr HKLM "${ENVIRONMENT_KEY}" "Path" $0
  SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=5000
!macroend

Section "$(PROGRAM_SECTION)" ProgramSection
  SectionIn RO
  !insertmacro Machine
  SetOutPath "$INSTDIR"
  File "${STAGE}/junctra.exe"
  File "${STAGE}/junctra.com"
  File "${STAGE}/Program Settings.ini"
  File "${STAGE}/LICENSE.txt"
  !if /FileExists "${STAGE}/de/junctra-EXE-mui.dll"
    SetOutPath "$INSTDIR\de"
    File "${STAGE}/de/junctra-EXE-mui.dll"
    SetOutPath "$INSTDIR"
  !endif
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Junctra.lnk" "$INSTDIR\junctra.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Junctra"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Junctra"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\junctra.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ; In KiB, as Add/Remove Programs shows it.
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; cmd.exe, batch files and PowerShell then find junctra (junctra.com).
Section "$(PATH_SECTION)" PathSection
  !insertmacro Machine
  !insertmacro ReadPathWithoutInstDir
  ${If} $1 == 1
    StrCpy $0 "$0$INSTDIR;"
    !insertmacro WritePath
  ${Else}
    DetailPrint "$(PATH_TOO_LONG)"
  ${EndIf}
SectionEnd

; Only what the installer put there goes; a folder that still holds other
; files stays. The per-user settings file is the user's and stays too.
Section "Uninstall"
  !insertmacro Machine
  !insertmacro ReadPathWithoutInstDir
  ${If} $1 == 1
    !insertmacro WritePath
  ${EndIf}
  Delete "$SMPROGRAMS\Junctra.lnk"
  Delete "$INSTDIR\junctra.exe"
  Delete "$INSTDIR\junctra.com"
  Delete "$INSTDIR\Program Settings.ini"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\de\junctra-EXE-mui.dll"
  RMDir "$INSTDIR\de"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
