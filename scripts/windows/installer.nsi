; PortProbe's Windows installer, made by scripts/windows/installer.sh from the portable
; folder. It installs for the current user without administrator rights by default, or
; for all users when asked (the page, or /AllUsers), and then starts again elevated.
; Defined on makensis's command line: VERSION (5.0), FILES (the generated lists of what
; the folder holds), ICON, LICENSE and OUTFILE.
; The programs are 64-bit, and so is the installer: it runs where they do.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include nsDialogs.nsh
!include "${FILES}"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\PortProbe"
!define MENU_FOLDER "$SMPROGRAMS\PortProbe"
!define MANUAL_LINK "PortProbe 使用说明.lnk"

Name "PortProbe ${VERSION}"
OutFile "${OUTFILE}"
BrandingText "PortProbe ${VERSION}"
VIProductVersion "${VERSION}.0.0"
VIFileVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=0 "ProductName" "PortProbe"
VIAddVersionKey /LANG=0 "FileDescription" "PortProbe setup"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "LegalCopyright" "GPL-3.0-or-later"

Var AllUsers        ; 1 when installing for every user of the machine
Var ChosenFolder    ; 1 when /D= named the folder, which then stays
Var ModeAllUsers    ; the page's radio buttons
Var ModeCurrentUser

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\portprobe.exe"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\readme.txt"
!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
Page custom ModePage ModePageLeave
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

; Sets the shell folders, the registry root and the default folder of the mode.
Function UseMode
  ${If} $AllUsers == 1
    SetShellVarContext all
    ${IfThen} $ChosenFolder != 1 ${|} StrCpy $INSTDIR "$PROGRAMFILES64\PortProbe" ${|}
  ${Else}
    SetShellVarContext current
    ${If} $ChosenFolder != 1
      GetKnownFolderPath $INSTDIR {5CD7AEE2-2219-4A67-B85D-6C9CE15660CB}  ; the user's programs
      ${IfThen} $INSTDIR == "" ${|} StrCpy $INSTDIR "$LOCALAPPDATA\Programs" ${|}
      StrCpy $INSTDIR "$INSTDIR\PortProbe"
    ${EndIf}
  ${EndIf}
FunctionEnd

; Installing for all users needs administrator rights: without them the installer
; starts itself again through the system's elevation prompt, with the same arguments.
!macro ElevateIfNeeded
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "Admin"
    ${GetParameters} $1
    ClearErrors
    ${GetOptions} $1 "/Elevated" $2
    ${IfNot} ${Errors}
      MessageBox MB_OK|MB_ICONSTOP "为所有用户安装需要管理员权限。" /SD IDOK
      Quit
    ${EndIf}
    ExecShell "runas" "$EXEPATH" "$1 /AllUsers /Elevated"
    Quit
  ${EndIf}
!macroend

Function .onInit
  ${IfThen} $INSTDIR != "" ${|} StrCpy $ChosenFolder 1 ${|}
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/AllUsers" $1
  ${IfNot} ${Errors}
    StrCpy $AllUsers 1
    !insertmacro ElevateIfNeeded
  ${EndIf}
  Call UseMode
FunctionEnd

Function ModePage
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/AllUsers" $1
  ${IfNot} ${Errors}
    Abort  ; chosen already, by the command line or before the elevation
  ${EndIf}
  !insertmacro MUI_HEADER_TEXT "安装方式" "为谁安装 PortProbe？"
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateRadioButton} 0 10u 100% 12u "只为我安装（不需要管理员权限）"
  Pop $ModeCurrentUser
  ${NSD_CreateRadioButton} 0 30u 100% 12u "为这台电脑的所有用户安装（需要管理员权限）"
  Pop $ModeAllUsers
  ${If} $AllUsers == 1
    ${NSD_Check} $ModeAllUsers
  ${Else}
    ${NSD_Check} $ModeCurrentUser
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function ModePageLeave
  ${NSD_GetState} $ModeAllUsers $0
  ${If} $0 == ${BST_CHECKED}
    StrCpy $AllUsers 1
    !insertmacro ElevateIfNeeded
  ${Else}
    StrCpy $AllUsers 0
  ${EndIf}
  Call UseMode
FunctionEnd

Section
  !insertmacro InstallFiles
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateDirectory "${MENU_FOLDER}"
  CreateShortcut "${MENU_FOLDER}\PortProbe.lnk" "$INSTDIR\portprobe.exe"
  CreateShortcut "${MENU_FOLDER}\${MANUAL_LINK}" "$INSTDIR\readme.txt"
  ; "Apps & features" lists the program from this key, in the mode's registry root.
  StrCpy $0 ""
  ${IfThen} $AllUsers == 1 ${|} StrCpy $0 " /AllUsers" ${|}
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "PortProbe"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "PortProbe"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\portprobe.exe"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"$0'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S$0'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $1 $2 $3
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $1
SectionEnd

Function un.onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/AllUsers" $1
  ${If} ${Errors}
    SetShellVarContext current
  ${Else}
    SetShellVarContext all
    UserInfo::GetAccountType
    Pop $1
    ${If} $1 != "Admin"
      ; The running copy is a temporary one; _?= tells it where the installation is.
      ExecShell "runas" "$EXEPATH" "$0 _?=$INSTDIR"
      Quit
    ${EndIf}
  ${EndIf}
FunctionEnd

; Removes exactly what was installed: files of the user's own in the folder stay, and
; so does the folder then.
Section "Uninstall"
  !insertmacro UninstallFiles
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "${MENU_FOLDER}\PortProbe.lnk"
  Delete "${MENU_FOLDER}\${MANUAL_LINK}"
  RMDir "${MENU_FOLDER}"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  ; The settings are the user's, in their own local application data: asked about, and
  ; kept by a silent uninstall.
  SetShellVarContext current
  ${If} ${FileExists} "$LOCALAPPDATA\portprobe\*.*"
    MessageBox MB_YESNO|MB_ICONQUESTION "是否同时删除 PortProbe 的设置和记录（$LOCALAPPDATA\portprobe）？" /SD IDNO IDNO keep
    RMDir /r "$LOCALAPPDATA\portprobe"
    keep:
  ${EndIf}
SectionEnd
