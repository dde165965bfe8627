; The Plotgate installer: a per-user install, without administrator rights, into the
; user's own programs folder. The settings file lives beside the programs, so the folder
; must be writable by the user; CorelDRAW's workspaces, which the install gives the
; toolbar, and its macro folders, which get the macro project, are per user too.
;
; The folder may be shared with other programs' files. Each file the install puts there is
; recorded under the "Files" key of the folder's own uninstall entry; a file of one of these
; names that no install of ours recorded, and whose bytes are not those the install brings,
; stops the install before anything is written, so nothing of another's is overwritten, and
; the uninstall deletes only the recorded files. A recorded file the uninstall cannot delete
; (the program still running, a virus scanner holding it) stays recorded, and the entry
; with its uninstaller stays, so that a later install takes the folder back and a later
; uninstall finishes the work.
;
; makensis -DVERSION=1.0.0.1 -DTARGET=x86-unicode -DOUTFILE=... -DPROGRAMS=DIR Plotgate.nsi
; PROGRAMS holds Plotgate.exe, VornUSBSend.exe, X7.wz, MeridalVorn.gms, Ver001.bas and
; README.txt, which is installed as "Plotgate readme.txt". The maker's "VornLib.dll" is
; never installed: it comes with the cutter's driver.

Unicode true
Target ${TARGET}
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include FileFunc.nsh
!include LogicLib.nsh

; Each install folder has an entry of its own here: "Plotgate" for the first, then
; "Plotgate 2", "Plotgate 3"..., the one whose "InstallLocation" names the folder.
!define UNINSTALL_ROOT "Software\Microsoft\Windows\CurrentVersion\Uninstall"
!define UNINSTALL_KEY "${UNINSTALL_ROOT}\Plotgate"
; Where the CorelDRAW macro finds Plotgate.exe: the value "Path".
!define PLOTGATE_KEY "Software\Meridal\Plotgate"
!define UNINSTALLER "Uninstall Plotgate.exe"
; The settings file is the program's: recorded when the install finds none, as the dialog
; then creates it.
!define SETTINGS "Plotgate.ini"
; The uninstaller's status when it had to leave recorded files behind.
!define FILES_LEFT 3

; The uninstall entry of $INSTDIR, found by FindEntry; its subkey "Files" holds one DWORD
; value 1 for each file an install put into the folder, named after it.
Var Entry
; The uninstall's list of the files it could not delete, a line each with the reason.
Var Kept

; FindEntry: sets $Entry to the uninstall entry whose "InstallLocation" is $INSTDIR (the
; comparison ignores case, as Windows does), else to the first of "Plotgate",
; "Plotgate 2", ... that does not exist. Uses $0 to $3.
!macro FindEntryFunction PREFIX
Function ${PREFIX}FindEntry
  StrCpy $0 0
  ${Do}
    ClearErrors
    EnumRegKey $1 HKCU "${UNINSTALL_ROOT}" $0
    ${IfThen} $1 == "" ${|} ${ExitDo} ${|}
    IntOp $0 $0 + 1
    StrCpy $2 $1 9
    ${If} $1 == "Plotgate"
    ${OrIf} $2 == "Plotgate "
      ReadRegStr $3 HKCU "${UNINSTALL_ROOT}\$1" "InstallLocation"
      ${If} $3 == $INSTDIR
        StrCpy $Entry "${UNINSTALL_ROOT}\$1"
        Return
      ${EndIf}
    ${EndIf}
  ${Loop}
  StrCpy $0 1
  StrCpy $Entry "${UNINSTALL_KEY}"
  ${Do}
    ClearErrors
    EnumRegValue $1 HKCU "$Entry" 0
    EnumRegKey $2 HKCU "$Entry" 0
    ${IfThen} "$1$2" == "" ${|} ${ExitDo} ${|}
    IntOp $0 $0 + 1
    StrCpy $Entry "${UNINSTALL_KEY} $0"
  ${Loop}
FunctionEnd
!macroend
!insertmacro FindEntryFunction ""
!insertmacro FindEntryFunction "un."

; SameBytes: $R0 is 1 when the files $R1 and $R2 hold the same bytes, else 0 (also when
; either cannot be read). Uses $R3 to $R9.
Function SameBytes
  StrCpy $R0 0
  ClearErrors
  FileOpen $R3 $R1 r
  FileOpen $R4 $R2 r
  ${IfNot} ${Errors}
    FileSeek $R3 0 END $R5
    FileSeek $R4 0 END $R6
    ${If} $R5 == $R6
      FileSeek $R3 0 SET
      FileSeek $R4 0 SET
      System::Alloc 65536
      Pop $R7
      System::Alloc 65536
      Pop $R8
      ${Do}
        System::Call 'kernel32::ReadFile(p R3, p R7, i 65536, *i .R5, p 0) i.R9'
        ${IfThen} $R9 == 0 ${|} ${ExitDo} ${|}
        System::Call 'kernel32::ReadFile(p R4, p R8, i 65536, *i .R6, p 0) i.R9'
        ${IfThen} $R9 == 0 ${|} ${ExitDo} ${|}
        ${IfThen} $R5 != $R6 ${|} ${ExitDo} ${|}
        ${If} $R5 == 0
          StrCpy $R0 1
          ${ExitDo}
        ${EndIf}
        System::Call 'ntdll::RtlCompareMemory(p R7, p R8, p R5) p.R9'
        ${IfThen} $R9 != $R5 ${|} ${ExitDo} ${|}
      ${Loop}
      System::Free $R7
      System::Free $R8
    ${EndIf}
  ${EndIf}
  FileClose $R3
  FileClose $R4
FunctionEnd

; Stops the install when the folder holds NAME, no install of ours recorded it, and its
; bytes are not those of $PLUGINSDIR\NAME, the file the install brings (an uninstall that
; lost its record, or a copy the user made, is ours all the same).
!macro RefuseForeignFile NAME
  ReadRegDWORD $0 HKCU "$Entry\Files" "${NAME}"
  ${If} ${FileExists} "$INSTDIR\${NAME}"
  ${AndIf} $0 != 1
    StrCpy $R1 "$INSTDIR\${NAME}"
    StrCpy $R2 "$PLUGINSDIR\${NAME}"
    Call SameBytes
    ${If} $R0 != 1
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
    WriteRegDWORD HKCU "$Entry\Files" "${NAME}" 1
  ${EndIf}
!macroend

; un.DeleteRecorded: deletes the file $R0 of the program folder. Its record goes with it;
; a file that stays keeps its record and is added to $Kept with the reason.
Function un.DeleteRecorded
  System::Call 'kernel32::DeleteFileW(w "$INSTDIR\$R0") i ?e'
  Pop $1
  ${If} ${FileExists} "$INSTDIR\$R0"
    ${If} $1 == 5
      StrCpy $1 "access denied: the program is running, or the file is read-only"
    ${ElseIf} $1 == 32
      StrCpy $1 "in use by another program, such as a virus scanner"
    ${Else}
      StrCpy $1 "Windows error $1"
    ${EndIf}
    DetailPrint "Could not delete $R0: $1"
    StrCpy $Kept "$Kept$\r$\n$R0: $1"
  ${Else}
    DeleteRegValue HKCU "$Entry\Files" "$R0"
  ${EndIf}
FunctionEnd

; Deletes NAME from the program folder when this folder's record holds it.
!macro DeleteRecordedFile NAME
  ReadRegDWORD $0 HKCU "$Entry\Files" "${NAME}"
  ${If} $0 == 1
    StrCpy $R0 "${NAME}"
    Call un.DeleteRecorded
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
  Call FindEntry
  ; An upgrade of an install that recorded no files takes over the programs it put here.
  ; Its "README.txt" and "Uninstall.exe" are left as they are: a file of those common
  ; names may as well be another program's.
  ReadRegStr $1 HKCU "$Entry" "InstallLocation"
  ClearErrors
  EnumRegValue $2 HKCU "$Entry\Files" 0
  ${If} $1 == $INSTDIR
  ${AndIf} $2 == ""
    !insertmacro AdoptOlderFile "Plotgate.exe"
    !insertmacro AdoptOlderFile "VornUSBSend.exe"
    !insertmacro AdoptOlderFile "X7.wz"
    !insertmacro AdoptOlderFile "MeridalVorn.gms"
    !insertmacro AdoptOlderFile "Ver001.bas"
  ${EndIf}
  ; What the install brings, beside it for comparing with files of the same names.
  InitPluginsDir
  SetOutPath "$PLUGINSDIR"
  File "${PROGRAMS}/Plotgate.exe"
  File "${PROGRAMS}/VornUSBSend.exe"
  File "${PROGRAMS}/X7.wz"
  File "${PROGRAMS}/MeridalVorn.gms"
  File "${PROGRAMS}/Ver001.bas"
  File "/oname=Plotgate readme.txt" "${PROGRAMS}/README.txt"
  WriteUninstaller "$PLUGINSDIR\${UNINSTALLER}"
  !insertmacro RefuseForeignFile "Plotgate.exe"
  !insertmacro RefuseForeignFile "VornUSBSend.exe"
  !insertmacro RefuseForeignFile "X7.wz"
  !insertmacro RefuseForeignFile "MeridalVorn.gms"
  !insertmacro RefuseForeignFile "Ver001.bas"
  !insertmacro RefuseForeignFile "Plotgate readme.txt"
  !insertmacro RefuseForeignFile "${UNINSTALLER}"
  ${IfNot} ${FileExists} "$INSTDIR\${SETTINGS}"
    WriteRegDWORD HKCU "$Entry\Files" "${SETTINGS}" 1
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
  WriteRegDWORD HKCU "$Entry\Files" "Plotgate.exe" 1
  WriteRegDWORD HKCU "$Entry\Files" "VornUSBSend.exe" 1
  WriteRegDWORD HKCU "$Entry\Files" "X7.wz" 1
  WriteRegDWORD HKCU "$Entry\Files" "MeridalVorn.gms" 1
  WriteRegDWORD HKCU "$Entry\Files" "Ver001.bas" 1
  WriteRegDWORD HKCU "$Entry\Files" "Plotgate readme.txt" 1
  WriteRegDWORD HKCU "$Entry\Files" "${UNINSTALLER}" 1

  CreateShortcut "$SMPROGRAMS\Plotgate.lnk" "$INSTDIR\Plotgate.exe" "" "$INSTDIR\Plotgate.exe" 0

  ; A second folder's entry says which folder it is for.
  ${If} $Entry == "${UNINSTALL_KEY}"
    WriteRegStr HKCU "$Entry" "DisplayName" "Plotgate"
  ${Else}
    WriteRegStr HKCU "$Entry" "DisplayName" "Plotgate ($INSTDIR)"
  ${EndIf}
  WriteRegStr HKCU "$Entry" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "$Entry" "Publisher" "Meridal"
  WriteRegStr HKCU "$Entry" "DisplayIcon" "$INSTDIR\Plotgate.exe,0"
  WriteRegStr HKCU "$Entry" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "$Entry" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKCU "$Entry" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKCU "$Entry" "NoModify" 1
  WriteRegDWORD HKCU "$Entry" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "$Entry" "EstimatedSize" $0

  WriteRegStr HKCU "${PLOTGATE_KEY}" "Path" "$INSTDIR\Plotgate.exe"
  ; The toolbar goes into every CorelDRAW workspace found and the macro project into
  ; every version's macro folder, each copy recorded beside "Path"; no window is shown.
  ExecWait '"$INSTDIR\Plotgate.exe" /RegCorelWorkSpace'
SectionEnd

Section "Uninstall"
  SetShellVarContext current
  Call un.FindEntry
  ; First, while the program and "X7.wz" are still there, the workspaces are given back
  ; as they were before the install, and the recorded copies of the macro project leave
  ; the macro folders, and the Start-menu shortcut goes; unless "Path" names the program
  ; of another folder, whose install they all now serve.
  ReadRegStr $0 HKCU "${PLOTGATE_KEY}" "Path"
  ${If} $0 == ""
  ${OrIf} $0 == "$INSTDIR\Plotgate.exe"
    ExecWait '"$INSTDIR\Plotgate.exe" /UnRegCorelWorkSpace'
    ; The program has taken its values away; should it not have run, "Path" goes all the
    ; same, and so does the macro's own "ExportState". The keys go only when nothing is
    ; left in them: a copy that could not be deleted stays recorded.
    DeleteRegValue HKCU "${PLOTGATE_KEY}" "Path"
    DeleteRegValue HKCU "${PLOTGATE_KEY}" "ExportState"
    DeleteRegKey /ifnosubkeys /ifnovalues HKCU "${PLOTGATE_KEY}"
    DeleteRegKey /ifnosubkeys /ifnovalues HKCU "Software\Meridal"
    Delete "$SMPROGRAMS\Plotgate.lnk"
  ${EndIf}

  ; Only what an install recorded: a file of the same name that was there before stays.
  StrCpy $Kept ""
  !insertmacro DeleteRecordedFile "Plotgate.exe"
  !insertmacro DeleteRecordedFile "VornUSBSend.exe"
  !insertmacro DeleteRecordedFile "X7.wz"
  !insertmacro DeleteRecordedFile "MeridalVorn.gms"
  !insertmacro DeleteRecordedFile "Ver001.bas"
  !insertmacro DeleteRecordedFile "Plotgate readme.txt"
  !insertmacro DeleteRecordedFile "${SETTINGS}"
  ${If} $Kept != ""
    ; The program that held a file may write its settings again when it closes.
    ${If} ${FileExists} "$INSTDIR\Plotgate.exe"
      WriteRegDWORD HKCU "$Entry\Files" "${SETTINGS}" 1
    ${EndIf}
  ${ElseIf} $EXEPATH == "$INSTDIR\${UNINSTALLER}"
    ; Started in place ("_?=" given), the uninstaller cannot delete itself: whoever
    ; started it so deletes it.
    DeleteRegValue HKCU "$Entry\Files" "${UNINSTALLER}"
  ${Else}
    ; This runs from a copy of the uninstaller in the temporary folder.
    !insertmacro DeleteRecordedFile "${UNINSTALLER}"
  ${EndIf}
  ; Only when empty: files the user put there (a VornLib.dll) stay.
  RMDir "$INSTDIR"

  ${If} $Kept == ""
    DeleteRegKey HKCU "$Entry"
  ${Else}
    ; The entry, the uninstaller and the record stay, for the files still there.
    MessageBox MB_ICONEXCLAMATION|MB_OK "Plotgate could not delete these files from $INSTDIR:$\r$\n$Kept$\r$\n$\r$\nClose Plotgate and wait for any virus scan to finish, then uninstall Plotgate again: it stays among the installed programs until then." /SD IDOK
    SetErrorLevel ${FILES_LEFT}
  ${EndIf}
SectionEnd
