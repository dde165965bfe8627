; The Plotgate installer: a per-user install, without administrator rights, into the
; user's own programs folder. The settings file lives beside the programs, so the folder
; must be writable by the user; CorelDRAW's workspaces, which the install gives the
; toolbar, and its macro folders, which get the macro project, are per user too.
;
; makensis -DVERSION=1.0.0.1 -DTARGET=x86-unicode -DOUTFILE=... -DPROGRAMS=DIR Plotgate.nsi
; PROGRAMS holds Plotgate.exe, VornUSBSend.exe, X7.wz, MeridalVorn.gms, Ver001.bas and
; README.txt. The maker's "VornLib.dll" is never installed: it comes with the cutter's
; driver.

Unicode true
Target ${TARGET}
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include FileFunc.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Plotgate"
; Where the CorelDRAW macro finds Plotgate.exe: the value "Path".
!define PLOTGATE_KEY "Software\Meridal\Plotgate"

Name "Plotgate"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Plotgate"
; An upgrade goes into the folder of the install it replaces.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}"
VIAddVersionKey "CompanyName" "Meridal"
VIAddVersionKey "ProductName" "Plotgate"
VIAddVersionKey "FileDescription" "Plotgate installer"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Meridal"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Plotgate"
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  ; "Plotgate.ini" is not among the files: an upgrade keeps the user's choices.
  File "${PROGRAMS}/Plotgate.exe"
  File "${PROGRAMS}/VornUSBSend.exe"
  File "${PROGRAMS}/X7.wz"
  File "${PROGRAMS}/MeridalVorn.gms"
  File "${PROGRAMS}/Ver001.bas"
  File "${PROGRAMS}/README.txt"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  CreateShortcut "$SMPROGRAMS\Plotgate.lnk" "$INSTDIR\Plotgate.exe" "" "$INSTDIR\Plotgate.exe" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Plotgate"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Meridal"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Plotgate.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0

  WriteRegStr HKCU "${PLOTGATE_KEY}" "Path" "$INSTDIR\Plotgate.exe"
  ; The toolbar goes into every CorelDRAW workspace found and the macro project into
  ; every version's macro folder, each copy recorded beside "Path"; no window is shown.
  ExecWait '"$INSTDIR\Plotgate.exe" /RegCorelWorkSpace'
SectionEnd

Section "Uninstall"
  SetShellVarContext current
  ; First, while the program and "X7.wz" are still there, the workspaces are given back
  ; as they were before the install, and the recorded copies of the macro project leave
  ; the macro folders.
  ExecWait '"$INSTDIR\Plotgate.exe" /UnRegCorelWorkSpace'
  ; The program has taken its values away; should it not have run, "Path" goes all the
  ; same. The keys go only when nothing is left in them: a copy that could not be deleted
  ; stays recorded.
  DeleteRegValue HKCU "${PLOTGATE_KEY}" "Path"
  DeleteRegKey /ifnosubkeys /ifnovalues HKCU "${PLOTGATE_KEY}"
  DeleteRegKey /ifnosubkeys /ifnovalues HKCU "Software\Meridal"

  Delete "$INSTDIR\Plotgate.exe"
  Delete "$INSTDIR\VornUSBSend.exe"
  Delete "$INSTDIR\X7.wz"
  Delete "$INSTDIR\MeridalVorn.gms"
  Delete "$INSTDIR\Ver001.bas"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\Plotgate.ini"
  Delete "$INSTDIR\Uninstall.exe"
  ; Only when empty: files the user put there (a VornLib.dll) stay.
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\Plotgate.lnk"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
