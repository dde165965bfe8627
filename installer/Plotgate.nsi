; The Plotgate installer: a per-user install, without administrator rights, into the
; user's own programs folder. The settings file lives beside the programs, so the folder
; must be writable by the user; CorelDRAW's workspaces, which the install gives the
; toolbar, and its macro folders, which get the macro project, are per user too.
;
; The folder may be shared with other programs' files. Each file the install puts there is
; recorded under the uninstall entry's "Files" key; a file of one of these names that no
; install of ours recorded stops the install before anything is written, so nothing of
; another's is overwritten, and the uninstall deletes only the recorded files.
;
; makensis -DVERSION=1.0.0.1 -DTARGET=x86-unicode -DOUTFILE=... -DPROGRAMS=DIR Plotgate.nsi
; PROGRAMS holds Plotgate.exe, VornUSBSend.exe, X7.wz, MeridalVorn.gms, Ver001.bas and
; README.txt, which is installed as "Plotgate readme.txt". The maker's "VornLib.dll" is never installed: it comes with the cutter's
; driver.

Unicode true
Target ${TARGET}
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include FileFunc.nsh
!include LogicLib.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Plotgate"
; Where the CorelDRAW macro finds Plotgate.exe: the value "Path".
!define PLOTGATE_KEY "Software\Meridal\Plotgate"
; One DWORD value 1 for each file an install put into the program folder, named after it.
!define FILES_KEY "${UNINSTALL_KEY}\Files"
!define UNINSTALLER "Uninstall Plotgate.exe"
; The settings file is the program's: recorded when the install finds none, as the dialog
; then creates it.
!define SETTINGS "Plotgate.ini"

; Stops the install when the folder holds NAME and no install of ours recorded it.
!macro RefuseForeignFile NAME
  ${If} ${FileExists} "$INSTDIR\${NAME}"
    ReadRegDWORD $0 HKCU "${FILES_KEY}" "${NAME}"
    ${If} $0 != 1
      MessageBox MB_ICONSTOP|MB_OK "$INSTDIR already holds a file named ${NAME} that Plotgate did not install. Nothing was changed. Choose another folder." /SD IDOK
      SetErrorLevel 2
      Abort
    ${EndIf}
  ${EndIf}
!macroend

; An install from before the record of files (the uninstall entry names this folder, the
; record is empty) put NAME here: it is ours, and recorded so that the upgrade goes on.
!macro AdoptOlderFile NAME
  ${If} ${FileExists} "$INSTDIR\${NAME}"
    WriteRegDWORD HKCU "${FILES_KEY}" "${NAME}" 1
  ${EndIf}
!macroend

; Deletes NAME from the program folder when an install recorded it.
!macro DeleteRecordedFile NAME
  ReadRegDWORD $0 HKCU "${FILES_KEY}" "${NAME}"
  ${If} $0 == 1
    Delete "$INSTDIR\${NAME}"
  ${EndIf}
!macroend

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
  ; An upgrade of an install that recorded no files takes over the programs it put here.
  ; Its "README.txt" and "Uninstall.exe" are left as they are: a file of those common
  ; names may as well be another program's.
  ReadRegStr $1 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ClearErrors
  EnumRegValue $2 HKCU "${FILES_KEY}" 0
  ${If} $1 == $INSTDIR
  ${AndIf} $2 == ""
    !insertmacro AdoptOlderFile "Plotgate.exe"
    !insertmacro AdoptOlderFile "VornUSBSend.exe"
    !insertmacro AdoptOlderFile "X7.wz"
    !insertmacro AdoptOlderFile "MeridalVorn.gms"
    !insertmacro AdoptOlderFile "Ver001.bas"
  ${EndIf}
  !insertmacro RefuseForeignFile "Plotgate.exe"
  !insertmacro RefuseForeignFile "VornUSBSend.exe"
  !insertmacro RefuseForeignFile "X7.wz"
  !insertmacro RefuseForeignFile "MeridalVorn.gms"
  !insertmacro RefuseForeignFile "Ver001.bas"
  !insertmacro RefuseForeignFile "Plotgate readme.txt"
  !insertmacro RefuseForeignFile "${UNINSTALLER}"
  ${IfNot} ${FileExists} "$INSTDIR\${SETTINGS}"
    WriteRegDWORD HKCU "${FILES_KEY}" "${SETTINGS}" 1
  ${EndIf}

  SetOutPath "$INSTDIR"
  ; "Plotgate.ini" is not among the files: an upgrade keeps the user's choices.
  File "${PROGRAMS}/Plotgate.exe"
  File "${PROGRAMS}/VornUSBSend.exe"
  File "${PROGRAMS}/X7.wz"
  File "${PROGRAMS}/MeridalVorn.gms"
  File "${PROGRAMS}/Ver001.bas"
  File "/oname=Plotgate readme.txt" "${PROGRAMS}/README.txt"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  WriteRegDWORD HKCU "${FILES_KEY}" "Plotgate.exe" 1
  WriteRegDWORD HKCU "${FILES_KEY}" "VornUSBSend.exe" 1
  WriteRegDWORD HKCU "${FILES_KEY}" "X7.wz" 1
  WriteRegDWORD HKCU "${FILES_KEY}" "MeridalVorn.gms" 1
  WriteRegDWORD HKCU "${FILES_KEY}" "Ver001.bas" 1
  WriteRegDWORD HKCU "${FILES_KEY}" "Plotgate readme.txt" 1
  WriteRegDWORD HKCU "${FILES_KEY}" "${UNINSTALLER}" 1

  CreateShortcut "$SMPROGRAMS\Plotgate.lnk" "$INSTDIR\Plotgate.exe" "" "$INSTDIR\Plotgate.exe" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Plotgate"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Meridal"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Plotgate.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
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
  ; same, and so does the macro's own "ExportState". The keys go only when nothing is left in them: a copy that could not be deleted
  ; stays recorded.
  DeleteRegValue HKCU "${PLOTGATE_KEY}" "Path"
  DeleteRegValue HKCU "${PLOTGATE_KEY}" "ExportState"
  DeleteRegKey /ifnosubkeys /ifnovalues HKCU "${PLOTGATE_KEY}"
  DeleteRegKey /ifnosubkeys /ifnovalues HKCU "Software\Meridal"

  ; Only what an install recorded: a file of the same name that was there before stays.
  !insertmacro DeleteRecordedFile "Plotgate.exe"
  !insertmacro DeleteRecordedFile "VornUSBSend.exe"
  !insertmacro DeleteRecordedFile "X7.wz"
  !insertmacro DeleteRecordedFile "MeridalVorn.gms"
  !insertmacro DeleteRecordedFile "Ver001.bas"
  !insertmacro DeleteRecordedFile "Plotgate readme.txt"
  !insertmacro DeleteRecordedFile "${SETTINGS}"
  !insertmacro DeleteRecordedFile "${UNINSTALLER}"
  ; Only when empty: files the user put there (a VornLib.dll) stay.
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\Plotgate.lnk"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
