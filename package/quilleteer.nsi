; The installer of one build, made by tools/package.sh, which defines:
;   VERSION          the version as the about box shows it ("3.00")
;   VERSION_NUMBERS  the same as four numbers ("3.0.0.0")
;   BITS             32 or 64
;   STAGE            the folder holding the files to install
;   ICON             the program's icon
;   OUTFILE          the installer to write
;
; It installs for the current user only, like the program's own settings
; under HKCU: no administrator rights, and the program's folder stays
; writable for the temporary storage the program keeps beside itself.
Unicode true
!if ${BITS} == 64
  Target amd64-unicode
!endif
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh

!define PRODUCT "Quilleteer"
!define PUBLISHER "Marlowin"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define SETTINGS_KEY "Software\Marlowin\Quilleteer"
; The program's main window: while it runs, its files cannot be replaced.
!define WINDOW_CLASS "TFQuillet"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION_NUMBERS}"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT} ${VERSION} (${BITS}-bit) setup"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "LegalCopyright" "Copyright (c) 2026 ${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\Quilleteer.exe"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; English where the system's language is neither.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Japanese"

LangString ProgramSection ${LANG_ENGLISH} "Quilleteer (required)"
LangString ProgramSection ${LANG_JAPANESE} "Quilleteer (必須)"
LangString AutostartSection ${LANG_ENGLISH} "Start when Windows starts"
LangString AutostartSection ${LANG_JAPANESE} "Windows の起動時に開始する"
LangString CloseFirst ${LANG_ENGLISH} "Quilleteer is running. Close it, then choose OK."
LangString CloseFirst ${LANG_JAPANESE} "Quilleteer が実行中です。終了してから [OK] を選んでください。"

; Waits for the user to close a running program; a silent run, which
; cannot ask, stops instead of leaving a half-replaced program.
!macro WaitUntilClosed
  ${Do}
    FindWindow $0 "${WINDOW_CLASS}"
    ${If} $0 == 0
      ${Break}
    ${EndIf}
    MessageBox MB_OKCANCEL|MB_ICONEXCLAMATION "$(CloseFirst)" /SD IDCANCEL IDOK +2
    Abort
  ${Loop}
!macroend

Function .onInit
  !insertmacro WaitUntilClosed
FunctionEnd

Function un.onInit
  !insertmacro WaitUntilClosed
FunctionEnd

Section "$(ProgramSection)" ProgramSection
  SectionIn RO
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File "${STAGE}\Quilleteer.exe"
  File "${STAGE}\Quillet.chm"
  File "${STAGE}\README.txt"
  File "${STAGE}\LICENSE.txt"
  File "${STAGE}\THIRD-PARTY-NOTICES.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\Quilleteer.exe"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} ${VERSION} (${BITS}-bit)"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Quilleteer.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0

  ; A reinstall without the option takes back an earlier one's choice.
  DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"
SectionEnd

Section /o "$(AutostartSection)" AutostartSection
  WriteRegStr HKCU "${RUN_KEY}" "${PRODUCT}" '"$INSTDIR\Quilleteer.exe"'
SectionEnd

; Removes what the installer put in place and the program's own settings
; and scratch file, by name: storage files the user saved, wherever they
; are (the program's folder included), stay, and so does a folder that
; still holds one.
Section "Uninstall"
  SetShellVarContext current
  Delete "$INSTDIR\Quilleteer.exe"
  Delete "$INSTDIR\Quillet.chm"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\THIRD-PARTY-NOTICES.txt"
  ; The program's scratch storage, which it replaces at every start.
  Delete "$INSTDIR\Quillet.tmp"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"

  DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKCU "Software\Marlowin"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
