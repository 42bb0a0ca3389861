; The Morvel installer: per user, without administrator rights, into
; %LOCALAPPDATA%\Programs\Morvel, with a Start-menu entry and an entry in "Apps & features".
; The uninstaller removes every file the installer put there and nothing else: the
; players' saves live in %APPDATA%\Morvel and stay.
;
; It installs only into a folder of its own: one that does not exist yet, an empty one, or
; an earlier installation of the game, which it first uninstalls, so that no file an older
; version shipped stays behind. There is one installation at a time: the one the registry
; names is uninstalled wherever it is. Setup and the uninstaller wait while the game runs.
;
; makensis -DVERSION=1.3 -DSTAGING=folder -DOUTFILE=setup.exe -DSIZE_KB=n -DICON=morvel.ico
;          -DUNINSTALL_LIST=uninstall.nsh installer.nsi
; UNINSTALL_LIST holds a Delete line for each file of STAGING and an RMDir line for each
; of its folders, deepest first (scripts/build-windows.sh writes it).
;
; A silent run (/S) that cannot go on (a folder that is not its own, a game that does not
; end within a minute, an earlier installation that cannot be removed) changes nothing
; and ends with status 2.

; A 64-bit installer for the 64-bit game: it runs wherever the game does.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true
; A file that cannot be written is retried or the setup is ended, never skipped: a half
; installation would mix two versions.
AllowSkipFiles off

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "TextFunc.nsh"

!define APP "Morvel"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APP}"
; The names the game itself knows an installation and its own running by.
!searchparse /file "${__FILEDIR__}/../../savegame/savegame.h" \
  'InstallMarkerName = "' MARKER_NAME '"'
!searchparse /file "${__FILEDIR__}/../../savegame/savegame.h" \
  'InstallMarkerText = "' MARKER_TEXT '"'
!searchparse /file "${__FILEDIR__}/../../app/platform_windows.cpp" \
  'RunningMutex = L"' RUNNING_MUTEX '"'
; How long a silent run waits for the game to end: this many half seconds.
!define SILENT_WAIT 120
!define FAILED 2

Name "${APP}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${APP}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${APP} ${VERSION}"

; The four numbers Windows wants in the version information: 1.3 is 1.3.0.0.
!searchparse /noerrors "${VERSION}" "" VERSION_1 "." VERSION_2 "." VERSION_3 "." VERSION_4
!ifndef VERSION_2
  !define VERSION_2 0
!endif
!ifndef VERSION_3
  !define VERSION_3 0
!endif
!ifndef VERSION_4
  !define VERSION_4 0
!endif
VIProductVersion "${VERSION_1}.${VERSION_2}.${VERSION_3}.${VERSION_4}"
VIAddVersionKey /LANG=1029 "ProductName" "${APP}"
VIAddVersionKey /LANG=1029 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1029 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1029 "FileDescription" "Instalace hry ${APP}"
VIAddVersionKey /LANG=1029 "CompanyName" "tým Morvel"
VIAddVersionKey /LANG=1029 "LegalCopyright" "© 2026 tým Morvel"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\morvel.exe"
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE LeaveFolderPage
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Czech"

; Waits while the game runs: a silent run a minute at most, then it ends with status 2;
; otherwise the player is asked to end the game, or to give up. For setup and for the
; uninstaller alike.
!macro WAIT_FOR_GAME prefix what
Function ${prefix}WaitForGame
  Push $0
  Push $1
  StrCpy $1 0
  ${Do}
    System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "${RUNNING_MUTEX}") p .r0'
    ${If} $0 == 0
      ${Break}
    ${EndIf}
    System::Call 'kernel32::CloseHandle(p r0)'
    ${If} ${Silent}
      ${If} $1 >= ${SILENT_WAIT}
        SetErrorLevel ${FAILED}
        Quit
      ${EndIf}
      IntOp $1 $1 + 1
      Sleep 500
    ${Else}
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
        "Hra ${APP} právě běží. Ukončete ji a zvolte Opakovat, nebo zvolte Storno a ${what} skončí." \
        IDRETRY again
      SetErrorLevel ${FAILED}
      Quit
      again:
    ${EndIf}
  ${Loop}
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro WAIT_FOR_GAME "" "instalace"
!insertmacro WAIT_FOR_GAME "un." "odinstalace"

; Pushes 1 when the folder on the stack may take the game: it does not exist, it is empty,
; or it holds an installation of the game (the installer's mark with its text, or, for
; the versions before the mark, the folder the registry names, with its uninstaller);
; 0 otherwise.
Function FolderIsOurs
  Exch $0
  Push $1
  Push $2
  Push $3
  StrCpy $3 1
  ${If} ${FileExists} "$0\*.*"
    StrCpy $3 0
    ClearErrors
    FileOpen $1 "$0\${MARKER_NAME}" r
    ${IfNot} ${Errors}
      FileRead $1 $2
      FileClose $1
      ${TrimNewLines} "$2" $2
      ${If} $2 == "${MARKER_TEXT}"
        StrCpy $3 1
      ${EndIf}
    ${EndIf}
    ReadRegStr $1 HKCU "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $3 == 0
    ${AndIf} $1 != ""
    ${AndIf} $1 == $0
    ${AndIf} ${FileExists} "$0\uninstall.exe"
      StrCpy $3 1
    ${EndIf}
    ${If} $3 == 0
      StrCpy $3 1
      FindFirst $1 $2 "$0\*.*"
      ${DoUntil} $2 == ""
        ${If} $2 != "."
        ${AndIf} $2 != ".."
          StrCpy $3 0
          ${Break}
        ${EndIf}
        FindNext $1 $2
      ${Loop}
      FindClose $1
    ${EndIf}
  ${EndIf}
  StrCpy $0 $3
  Pop $3
  Pop $2
  Pop $1
  Exch $0
FunctionEnd

Function LeaveFolderPage
  Push $INSTDIR
  Call FolderIsOurs
  Pop $0
  ${If} $0 != 1
    MessageBox MB_OK|MB_ICONEXCLAMATION \
      "Složka $INSTDIR není prázdná a není v ní instalace hry ${APP}.$\r$\n$\r$\nZvolte novou nebo prázdnou složku: instalace by v ní přepsala cizí soubory a odinstalace by je smazala."
    Abort
  ${EndIf}
FunctionEnd

; Uninstalls the installation in the folder on the stack, if there is one, with its own
; uninstaller: in place (_?=), so that setup waits for it.
Function RemoveInstallation
  Exch $0
  Push $1
  ${If} ${FileExists} "$0\uninstall.exe"
    ClearErrors
    ExecWait '"$0\uninstall.exe" /S _?=$0' $1
    ${If} ${Errors}
    ${OrIf} $1 != 0
      ${IfNot} ${Silent}
        MessageBox MB_OK|MB_ICONSTOP "Předchozí instalaci hry ${APP} ve složce $0 se nepodařilo odinstalovat."
      ${EndIf}
      SetErrorLevel ${FAILED}
      Quit
    ${EndIf}
    Delete "$0\uninstall.exe"
    RMDir "$0"
  ${EndIf}
  Pop $1
  Pop $0
FunctionEnd

Function .onInit
  Call WaitForGame
  ; A silent run skips the folder page: its folder (/D=) is checked here.
  ${If} ${Silent}
    Push $INSTDIR
    Call FolderIsOurs
    Pop $0
    ${If} $0 != 1
      SetErrorLevel ${FAILED}
      Quit
    ${EndIf}
  ${EndIf}
FunctionEnd

Section "Morvel"
  ; The game may have been started since the folder page.
  Call WaitForGame
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 != ""
  ${AndIf} $0 != $INSTDIR
    Push $0
    Call RemoveInstallation
  ${EndIf}
  Push $INSTDIR
  Call RemoveInstallation

  SetOutPath "$INSTDIR"
  File /r "${STAGING}/*.*"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  FileOpen $0 "$INSTDIR\${MARKER_NAME}" w
  FileWrite $0 "${MARKER_TEXT}$\r$\n"
  FileClose $0
  CreateShortCut "$SMPROGRAMS\${APP}.lnk" "$INSTDIR\morvel.exe" "" "$INSTDIR\morvel.exe" 0
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${APP}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\morvel.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "tým Morvel"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Function un.onInit
  Call un.WaitForGame
FunctionEnd

Section "Uninstall"
  ; The game may have been started since the uninstaller was.
  Call un.WaitForGame
  !include "${UNINSTALL_LIST}"
  Delete "$INSTDIR\${MARKER_NAME}"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${APP}.lnk"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
