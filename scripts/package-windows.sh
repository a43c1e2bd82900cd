#!/bin/sh
# The Windows packages from a Windows build (scripts/build-windows.sh), written into the build folder:
#   terrix-cli-<version>-win64.zip  terrix-cli.exe, the README, the manual page of terrix-cli as text, the
#                                   example scenarios (always);
#   terrix-<version>-setup.exe      the installer of the desktop program and terrix-cli (NSIS), when the
#                                   build holds terrix.exe (it needs the Windows Qt of build-qt-windows.sh);
#   terrix-<version>-win64.zip      the same programs as a portable copy, which keeps its data beside itself.
# Usage: scripts/package-windows.sh [BUILD_DIR]   (default build-windows)
set -eu
cd "$(dirname "$0")/.."
dir=${1:-build-windows}
version=$(sed -n 's/^project(Terrix VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
date=$(sed -n 's/^set(TERRIX_RELEASE_DATE "\(.*\)")/\1/p' CMakeLists.txt)
name=terrix-cli-$version-win64
work=$dir/package
stage=$work/$name
rm -rf "$work" "$dir/$name.zip"
mkdir -p "$stage/scenarios"

cp "$dir/bin/terrix-cli.exe" "$stage/"
cp README.md "$stage/"
cp sim/SCENARIOS.md sim/scenarios/*.json "$stage/scenarios/"

# The manual page is made as on Linux, from the program's own help, here the Windows program's under Wine
# (whose console output ends its lines with CR LF), then rendered as plain text with Windows line ends.
wrapper=$work/terrix-cli-under-wine
cat >"$wrapper" <<WRAPPER
#!/bin/sh
"$PWD/scripts/wine-run.sh" "$PWD/$dir/wineprefix" "$PWD/$dir/bin/terrix-cli.exe" "\$@" | tr -d '\r'
WRAPPER
chmod +x "$wrapper"
perl docs/man/help2roff.pl "$wrapper" terrix-cli docs/man/terrix-cli.1.in "$work/terrix-cli.1" "$date"
MANWIDTH=80 man -l "$work/terrix-cli.1" 2>/dev/null | col -bx | sed 's/$/\r/' >"$stage/terrix-cli.txt"
test -s "$stage/terrix-cli.txt"

(cd "$work" && zip -q -r -X "../$name.zip" "$name")
echo "$dir/$name.zip"

# --- the desktop program ---------------------------------------------------------------------------------------
if ! grep -qx 'TERRIX_BUILD_GUI:BOOL=ON' "$dir/CMakeCache.txt" || [ ! -f "$dir/bin/terrix.exe" ]; then
    echo "package-windows: no terrix.exe in $dir/bin (the Windows Qt is not built: scripts/build-qt-windows.sh);" \
        "installer and desktop zip skipped"
    exit 0
fi
command -v makensis >/dev/null || { echo "package-windows: makensis is missing (apt-get install nsis)" >&2; exit 1; }
qt=$(sed -n 's|^Qt6_DIR:PATH=\(.*\)/lib/cmake/Qt6$|\1|p' "$dir/CMakeCache.txt")
[ -d "$qt/bin" ] || { echo "package-windows: the Windows Qt of $dir ($qt) is gone" >&2; exit 1; }
objdump=x86_64-w64-mingw32-objdump

# One tree in the layout of an installation: bin\ holds the programs, the Qt DLLs and plug-ins; share\terrix
# the translations (found from bin\ as ..\share\terrix); share\doc\terrix the guide. An installed program
# keeps its data in %LOCALAPPDATA%\Terrix because its folder is an installation's bin.
tree=$work/terrix-$version
bin=$tree/bin
mkdir -p "$bin/platforms" "$bin/styles" "$tree/share/terrix" "$tree/share/doc/terrix"
cp "$dir/bin/terrix.exe" "$dir/bin/terrix-cli.exe" "$bin/"
# The plug-ins the program loads: the Windows platform and the native style. Everything else of the Qt build
# (image formats, the offscreen platform, TLS back ends) stays out.
cp "$qt/plugins/platforms/qwindows.dll" "$bin/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$bin/styles/"
# The Qt DLLs: whatever the programs and plug-ins import from the Qt build, followed through the DLLs.
imports() { "$objdump" -p "$1" | sed -n 's/^[[:space:]]*DLL Name: //p'; }
todo="$bin/terrix.exe $bin/platforms/qwindows.dll $bin/styles/qwindowsvistastyle.dll"
while [ -n "$todo" ]; do
    next=
    for file in $todo; do
        for dll in $(imports "$file"); do
            if [ -f "$qt/bin/$dll" ] && [ ! -f "$bin/$dll" ]; then
                cp "$qt/bin/$dll" "$bin/"
                next="$next $bin/$dll"
            fi
        done
    done
    todo=$next
done
# Nothing may need a DLL that neither Windows nor this folder has (the runtime is linked statically).
for file in "$bin"/*.exe "$bin"/*.dll "$bin"/*/*.dll; do
    [ -f "$file" ] || continue
    for dll in $(imports "$file"); do
        case $dll in
            Qt6*.dll) [ -f "$bin/$dll" ] || { echo "package-windows: $file needs $dll" >&2; exit 1; } ;;
            libstdc++*|libgcc*|libwinpthread*) echo "package-windows: $file needs $dll" >&2; exit 1 ;;
        esac
    done
done
# Translations: the program's own, and Qt's texts of its dialogs and buttons from Debian's
# qt6-translations-l10n as they are.
cp "$dir/gui/i18n/Terrix English.qm" "$dir/gui/i18n/Terrix Deutsch.qm" "$tree/share/terrix/"
for qm in qtbase_de.qm; do
    if [ -f "/usr/share/qt6/translations/$qm" ]; then
        cp "/usr/share/qt6/translations/$qm" "$tree/share/terrix/"
    else
        echo "package-windows: /usr/share/qt6/translations/$qm is missing (qt6-translations-l10n): Qt's own" \
            "texts stay English" >&2
    fi
done
cp README.md docs/guide.md docs/fleet.md "$stage/terrix-cli.txt" "$tree/share/doc/terrix/"
mkdir -p "$tree/share/doc/terrix/images" "$tree/share/doc/terrix/examples/scenarios"
cp docs/images/*.png "$tree/share/doc/terrix/images/"
cp sim/SCENARIOS.md sim/scenarios/*.json "$tree/share/doc/terrix/examples/scenarios/"

# --- installer ---------------------------------------------------------------------------------------------------
# The uninstaller removes exactly the files it installed, then the folders if they are empty: nothing the
# user put there is deleted.
nsi=$work/terrix.nsi
setup=terrix-$version-setup.exe
size_kb=$(du -sk "$tree" | cut -f1)
wintree=$(cd "$tree" && pwd)
{
    cat <<NSI
; Made by scripts/package-windows.sh
; A 64-bit installer: the program is 64-bit, and a 64-bit Wine runs it without a 32-bit Wine beside it.
Target amd64-unicode
ManifestDPIAware true
SetCompressor /SOLID lzma
!include "MUI2.nsh"

Name "Terrix $version"
OutFile "$(cd "$dir" && pwd)/$setup"
InstallDir "\$PROGRAMFILES64\\Terrix"
InstallDirRegKey HKLM "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Terrix" "InstallLocation"
RequestExecutionLevel admin
VIProductVersion "$version.0"
VIAddVersionKey /LANG=1033 "ProductName" "Terrix"
VIAddVersionKey /LANG=1033 "CompanyName" "ORVA GmbH"
VIAddVersionKey /LANG=1033 "FileDescription" "Terrix $version Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "$version"
VIAddVersionKey /LANG=1033 "ProductVersion" "$version"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright 2026 ORVA GmbH"

!define MUI_ICON "$(cd "$dir" && pwd)/gui/terrix.ico"
!define MUI_UNICON "$(cd "$dir" && pwd)/gui/terrix.ico"
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_FUNCTION RunAsSignedInUser
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "German"

Function .onInit
    SetRegView 64
    SetShellVarContext all
FunctionEnd

; The installer runs elevated, and a program it started would too, making its data folder's files as the
; administrator. The shell starts it as the signed-in user instead.
Function RunAsSignedInUser
    Exec '"\$WINDIR\\explorer.exe" "\$INSTDIR\\bin\\terrix.exe"'
FunctionEnd

Function un.onInit
    SetRegView 64
    SetShellVarContext all
FunctionEnd

Section "Terrix"
NSI
    # Files, folder by folder.
    (cd "$tree" && find . -type d | sort) | while read -r d; do
        rel=${d#./}
        [ "$rel" = . ] && rel=
        files=$(cd "$tree/$d" && find . -maxdepth 1 -type f | sort)
        [ -n "$files" ] || continue
        winrel=$(printf '%s' "$rel" | tr / '\\')
        printf '    SetOutPath "$INSTDIR%s"\n' "${winrel:+\\$winrel}"
        printf '%s\n' "$files" | while read -r f; do
            printf '    File "%s/%s"\n' "$wintree${rel:+/$rel}" "${f#./}"
        done
    done
    cat <<NSI
    SetOutPath "\$INSTDIR"
    WriteUninstaller "\$INSTDIR\\uninstall.exe"
    SetOutPath "\$INSTDIR\\bin"
    CreateShortcut "\$SMPROGRAMS\\Terrix.lnk" "\$INSTDIR\\bin\\terrix.exe" "" "\$INSTDIR\\bin\\terrix.exe" 0
    !define KEY "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Terrix"
    WriteRegStr HKLM "\${KEY}" "DisplayName" "Terrix"
    WriteRegStr HKLM "\${KEY}" "DisplayVersion" "$version"
    WriteRegStr HKLM "\${KEY}" "Publisher" "ORVA GmbH"
    WriteRegStr HKLM "\${KEY}" "DisplayIcon" "\$INSTDIR\\bin\\terrix.exe,0"
    WriteRegStr HKLM "\${KEY}" "InstallLocation" "\$INSTDIR"
    WriteRegStr HKLM "\${KEY}" "UninstallString" '"\$INSTDIR\\uninstall.exe"'
    WriteRegStr HKLM "\${KEY}" "QuietUninstallString" '"\$INSTDIR\\uninstall.exe" /S'
    WriteRegDWORD HKLM "\${KEY}" "EstimatedSize" $size_kb
    WriteRegDWORD HKLM "\${KEY}" "NoModify" 1
    WriteRegDWORD HKLM "\${KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    Delete "\$SMPROGRAMS\\Terrix.lnk"
NSI
    (cd "$tree" && find . -type f | sort) | while read -r f; do
        printf '    Delete "$INSTDIR\\%s"\n' "$(printf '%s' "${f#./}" | tr / '\\')"
    done
    (cd "$tree" && find . -mindepth 1 -type d | sort -r) | while read -r d; do
        printf '    RMDir "$INSTDIR\\%s"\n' "$(printf '%s' "${d#./}" | tr / '\\')"
    done
    cat <<NSI
    Delete "\$INSTDIR\\uninstall.exe"
    RMDir "\$INSTDIR"
    DeleteRegKey HKLM "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Terrix"
SectionEnd
NSI
} >"$nsi"
rm -f "$dir/$setup"
makensis -V2 "$nsi"
echo "$dir/$setup"

# --- portable copy ---------------------------------------------------------------------------------------------
# All in one folder: the translations beside the programs, where they look first; a folder that is no
# installation's bin keeps the data beside the programs.
portable=terrix-$version-win64
flat=$work/$portable
mkdir -p "$flat/doc"
cp -r "$bin/." "$flat/"
cp "$tree/share/terrix/"*.qm "$flat/"
cp -r "$tree/share/doc/terrix/." "$flat/doc/"
rm -f "$dir/$portable.zip"
(cd "$work" && zip -q -r -X "../$portable.zip" "$portable")
echo "$dir/$portable.zip"
