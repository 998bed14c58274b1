; The Windows installer: the program, its skin library, its notices (LICENSE.txt), recordings
; with their credit, practice text and video in C:\Program Files\Lorvane\, the dictionary at
; C:\WINDOWS\system32\abc.mp3 (the real 64-bit system folder: this is a 64-bit installer, so
; nothing is redirected), a Start-menu shortcut and an uninstaller that removes exactly what
; was installed. The files are those of the one install list (manifest.py), which
; make-installer.sh turns into FILELIST: File lines, and with UNINSTALLING Delete lines.
;
; makensis -DSTAGE=<folder with the files> -DFILELIST=<generated .nsh> -DOUTFILE=<installer .exe>

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true
RequestExecutionLevel admin

!include "LogicLib.nsh"
!include "x64.nsh"

!define PRODUCT "粤语拼音学习"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Lorvane"
; The program reads its files from these compiled-in folders, so they are not a choice.
!define APPDIR "C:\Program Files\Lorvane"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "${APPDIR}"
BrandingText "${PRODUCT} 1.0.0.1"
VIProductVersion "1.0.0.1"
VIAddVersionKey /LANG=2052 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=2052 "FileDescription" "${PRODUCT} 安装程序"
VIAddVersionKey /LANG=2052 "FileVersion" "1.0.0.1"
VIAddVersionKey /LANG=2052 "LegalCopyright" "自由软件，欢迎转发"

LoadLanguageFile "${NSISDIR}\Contrib\Language files\SimpChinese.nlf"

; The first page shows the notices installed beside the program: the code's MIT licence, the
; recordings' and the dictionary's credit and licences, the runtime's notices. It informs
; rather than asks for consent (every licence here only grants), so its button goes on.
LicenseData "${STAGE}\app\LICENSE.txt"
LicenseText "本程序的代码按 MIT 许可发布；音节录音与学习视频来自「粵音資料集叢」，按 CC BY-SA 4.0 许可发布。各部分的许可与声明见下文（安装后在程序文件夹的 LICENSE.txt 中）。" "下一步(&N) >"
Page license
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_ICONSTOP "本程序需要 64 位 Windows。"
    Abort
  ${EndIf}
  SetRegView 64
FunctionEnd

Section "Install"
  SetShellVarContext all
  !include "${FILELIST}"

  SetOutPath "${APPDIR}"
  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "${APPDIR}\Lorvane.exe"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\卸载 ${PRODUCT}.lnk" "${APPDIR}\uninstall.exe"

  WriteUninstaller "${APPDIR}\uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "1.0.0.1"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "${APPDIR}\Lorvane.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"${APPDIR}\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"${APPDIR}\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Function un.onInit
  SetRegView 64
FunctionEnd

Section "Uninstall"
  SetShellVarContext all
  ; Only what the installer put there: a file the learner added to the folder stays, and so
  ; does the folder then.
  !define UNINSTALLING
  !include "${FILELIST}"
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\卸载 ${PRODUCT}.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  Delete "${APPDIR}\uninstall.exe"
  RMDir "${APPDIR}"
SectionEnd
