; The Windows installer: the game's folder in Program Files, a Start-menu entry,
; the record folder with its files, whose content every account of the computer
; may write, and an uninstaller that leaves the record in place (it belongs to
; the pupils).
; makensis -DVERSION=1.0.0 -DSOURCE=folder -DOUTFILE=setup.exe installer.nsi
Unicode true
Target amd64-unicode
!include "MUI2.nsh"

; Signed as it is written, the uninstaller inside too, when build.sh gives a signer.
!ifdef SIGN
  !uninstfinalize '"${SIGN}" "%1"'
  !finalize '"${SIGN}" "%1"'
!endif

Name "Quorvela"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Quorvela"
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!define MUI_ICON "${SOURCE}\quorvela.ico"
!define MUI_UNICON "${SOURCE}\quorvela.ico"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Italian"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvela"

Section
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File /r "${SOURCE}\*.*"
  WriteUninstaller "$INSTDIR\Disinstalla Quorvela.exe"
  CreateShortcut "$SMPROGRAMS\Quorvela.lnk" "$INSTDIR\quorvela.exe"

  ; The record exists from installation on: its folder and files, with the rights
  ; that quorvela-record-setup.exe gives them (an existing record is kept).
  ExecWait '"$INSTDIR\quorvela-record-setup.exe"' $0
  IntCmp $0 0 +2
    Abort "Quorvela: la cartella del record non si può preparare (errore $0)."

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Quorvela"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quorvela.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Disinstalla Quorvela.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Disinstalla Quorvela.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  Delete "$SMPROGRAMS\Quorvela.lnk"
  ; Only what the installer put there: the folder may have been chosen by hand.
  Delete "$INSTDIR\quorvela.exe"
  Delete "$INSTDIR\quorvela-record-setup.exe"
  Delete "$INSTDIR\quorvela.ico"
  Delete "$INSTDIR\qt.conf"
  Delete "$INSTDIR\*.dll"
  RMDir /r "$INSTDIR\platforms"
  RMDir /r "$INSTDIR\styles"
  RMDir /r "$INSTDIR\translations"
  Delete "$INSTDIR\Disinstalla Quorvela.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
