; The Windows installer: junctra.exe, junctra.com, the product file and the
; German satellites into Program Files\Junctra, a Start-menu shortcut, and an
; uninstaller listed under Add/Remove Programs. "setup.exe /S" installs and
; "uninstall.exe /S" removes silently.
;
; Built by the installer target (Installer.cmake), which defines VERSION
; (1.0), VERSION4 (1.0.0.0), STAGE (the folder holding the files to install)
; and OUTFILE.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "MUI2.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Junctra"

Name "Junctra"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Junctra"
BrandingText "Junctra ${VERSION}"

VIProductVersion "${VERSION4}"
VIAddVersionKey /LANG=0 "ProductName" "Junctra"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileDescription" "Junctra setup"
VIAddVersionKey /LANG=0 "LegalCopyright" "Junctra"

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
; The first is the default; a German system gets German pages.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "German"

; The shortcut for every user, in the 64-bit registry.
!macro Machine
  SetShellVarContext all
  SetRegView 64
!macroend

Section
  !insertmacro Machine
  SetOutPath "$INSTDIR"
  File "${STAGE}/junctra.exe"
  File "${STAGE}/junctra.com"
  File "${STAGE}/Program Settings.ini"
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
SectionEnd

; Only what the installer put there goes; a folder that still holds other
; files stays. The per-user settings file is the user's and stays too.
Section "Uninstall"
  !insertmacro Machine
  Delete "$SMPROGRAMS\Junctra.lnk"
  Delete "$INSTDIR\junctra.exe"
  Delete "$INSTDIR\junctra.com"
  Delete "$INSTDIR\Program Settings.ini"
  Delete "$INSTDIR\de\junctra-EXE-mui.dll"
  RMDir "$INSTDIR\de"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
