#!/usr/bin/env bash
# The Windows part of CI, under Wine: cross builds Junctra with mingw-w64
# (the windows preset, in build/windows) and runs its tests; builds the
# installer, installs it silently into a fresh Wine prefix, merges the
# examples with the installed junctra.com and compares files, messages and
# exit codes with the Linux program's; then uninstalls silently and checks
# that nothing is left. The Wine prefixes are removed afterwards.
#
#   scripts/windows-test.sh [LINUX_PROGRAM]
#
# LINUX_PROGRAM defaults to build/default/program/junctra, else
# build/program/program/junctra, which is built when missing.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh windows
source=$PWD
wine=/usr/lib/wine/wine64
# No .NET or HTML engine: nothing here needs them, and no prompt for them.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
work=$(mktemp -d "${TMPDIR:-/tmp}/junctra-windows-XXXXXX")
prefixes=()
cleanup() {
  local status=$?
  for prefix in "${prefixes[@]}"; do
    WINEPREFIX=$prefix /usr/lib/wine/wineserver -k 2>/dev/null || true
  done
  rm -rf "$work"
  exit "$status"
}
trap cleanup EXIT
fail() {
  echo "windows-test.sh: $*" >&2
  exit 1
}
# new_prefix NAME: a fresh, initialised Wine prefix as WINEPREFIX. The
# dialog tests open real windows: Wine's null graphics driver gives them a
# screen without an X server (read when Wine starts anew).
new_prefix() {
  export WINEPREFIX=$work/$1
  prefixes+=("$WINEPREFIX")
  "$wine" wineboot --init >/dev/null 2>&1
  "$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
  /usr/lib/wine/wineserver -w
}

echo "== windows build"
new_prefix tests
cmake --preset windows >/dev/null
cmake --build --preset windows
ctest --preset windows

echo "== installer"
cmake --build --preset windows --target installer
version=$(sed -n 's/^project(Junctra VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
setup=build/windows/junctra-$version-setup.exe
[ -f "$setup" ] || fail "no $setup"

linux=${1:-}
if [ -z "$linux" ]; then
  for candidate in build/default/program/junctra build/program/program/junctra; do
    [ -x "$candidate" ] && { linux=$candidate; break; }
  done
fi
if [ -z "$linux" ]; then
  echo "== Linux program and its German satellite, for comparison"
  bash scripts/deps.sh build
  cmake --preset program >/dev/null
  cmake --build --preset program --target junctra junctra_de
  linux=build/program/program/junctra
fi
linux=$(realpath "$linux")

new_prefix install
"$wine" "$setup" /S
/usr/lib/wine/wineserver -w
program_files=$("$wine" winepath -u 'C:\Program Files\Junctra' 2>/dev/null)
program_files=${program_files%/}
shortcut=$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start\ Menu/Programs/Junctra.lnk
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Junctra'
installed=$(cd "$program_files" && find . -type f | LC_ALL=C sort | tr '\n' ' ')
expected='./LICENSE.txt ./Program Settings.ini ./junctra.com ./junctra.exe ./uninstall.exe '
if [ -f build/windows/program/de/junctra-EXE-mui.dll ]; then
  expected="./LICENSE.txt ./Program Settings.ini ./de/junctra-EXE-mui.dll"
  expected+=" ./junctra.com ./junctra.exe ./uninstall.exe "
fi
[ "$installed" = "$expected" ] || fail "installed: $installed"
[ -f "$shortcut" ] || fail "no Start-menu shortcut"
"$wine" reg query "$uninstall_key" /v UninstallString >/dev/null || fail "not registered"
"$wine" reg query "$uninstall_key" /v EstimatedSize >/dev/null || fail "no EstimatedSize"
environment_key='HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\Environment'
system_path() { "$wine" reg query "$environment_key" /v Path | tr -d '\r' | sed -n 's/.*REG_EXPAND_SZ *//p'; }
[[ ";$(system_path);" == *";C:\Program Files\Junctra;"* ]] || fail "not on PATH: $(system_path)"
echo "Installed into C:\\Program Files\\Junctra: $installed"
# Batch use touches no window function: the common controls, whose start-up
# makes window-system objects, are not linked. Under Wine those start its
# desktop process, which keeps a redirected standard error open.
! x86_64-w64-mingw32-objdump -p "$program_files/junctra.com" | grep -qi 'DLL Name: comctl32' ||
  fail "junctra.com links the common controls"

# The same merges with both programs, from the same folder; the Windows one
# as scripts run it. No settings file: both speak English.
echo "== installed junctra.com against $linux"
cd "$work"
cp -r "$source/examples" .
mkdir -p home empty
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config LC_ALL=C
com='C:\Program Files\Junctra\junctra.com'
comparable() {
  tr '\\' / <"$1" | sed -E 's/^([^ ].*(tagl\.txt|class\.lst)): .*/\1: (reason)/'
}
# merge NAME FIRST SECOND: both programs into out-NAME-linux and
# out-NAME-windows; exit codes and messages compared.
merge() {
  local name=$1 linux_status=0 windows_status=0
  mkdir "out-$name-linux" "out-$name-windows"
  "$linux" "$2" "$3" "out-$name-linux" 2>"$name-linux.err" || linux_status=$?
  "$wine" "$com" "$2" "$3" "out-$name-windows" 2>"$name-windows.err" || windows_status=$?
  [ "$linux_status" = "$windows_status" ] ||
    fail "$name: exit code $linux_status on Linux, $windows_status on Windows"
  # A path joined by the program has each system's separator; the reason
  # after a file's path is each system's own ("No such file or directory",
  # "File not found.").
  cmp <(comparable "$name-linux.err") <(comparable "$name-windows.err") ||
    fail "$name: the messages differ"
  echo "$name: exit code $windows_status on both, the same $(wc -l <"$name-linux.err") message lines"
  return "$windows_status"
}
merge clean examples/plant-a examples/plant-b || fail "the examples did not merge"
for file in class.lst tagl.txt; do
  cmp "out-clean-linux/$file" "out-clean-windows/$file" || fail "$file differs"
done
echo "clean: class.lst and tagl.txt are the same bytes"
merge conflict examples/plant-a examples/plant-c && fail "the conflict merged"
merge missing examples/plant-a empty && fail "a folder without tagl.txt merged"
for name in conflict missing; do
  [ -z "$(ls "out-$name-windows")" ] || fail "$name: files were written"
done
[ -s conflict-windows.err ] && [ -s missing-windows.err ] || fail "no messages"

# With the satellite installed, a settings file under %LOCALAPPDATA%
# makes junctra.com speak German, as the Linux program does with its own.
if [ -f "$program_files/de/junctra-EXE-mui.dll" ]; then
  local_app_data=$("$wine" cmd /c echo '%LOCALAPPDATA%' | tr -d '\r')
  settings=$("$wine" winepath -u "$local_app_data\\Junctra")
  mkdir -p "$settings" "$XDG_CONFIG_HOME/Junctra"
  printf '[Language]\r\nCultureName=de-DE\r\n' >"$settings/Program Settings.ini"
  cp "$settings/Program Settings.ini" "$XDG_CONFIG_HOME/Junctra/"
  merge german examples/plant-a examples/plant-c && fail "the conflict merged"
  cmp -s german-windows.err conflict-windows.err && fail "no German messages"
  rm "$settings/Program Settings.ini" "$XDG_CONFIG_HOME/Junctra/Program Settings.ini"
fi

# A console shows every character, whatever its code page, which the
# program leaves as it was. From a batch file, as a user would: "junctra"
# is junctra.com, found on the PATH the installer set.
mkdir -p "Prüfstand/tagl.txt"
printf '%s\r\n' '@echo off' 'chcp 850 >nul' \
  'junctra %1 %2 %3' 'echo exit code %errorlevel%' 'chcp' >console.bat
LC_ALL=C.UTF-8 script -qec "$wine cmd /c console.bat examples/plant-a Prüfstand empty" \
  /dev/null | sed 's/\x1b\[[0-9;?]*[a-zA-Z]//g; s/\r//g' >console.txt
printf '%s\n' 'Can not open file Prüfstand\tagl.txt' 'Prüfstand\tagl.txt: Is a directory' \
  'exit code 1' 'Active code page: 850' |
  cmp - console.txt || { cat console.txt >&2; fail "the console showed something else"; }
echo "console: umlauts shown with code page 850, exit code 1"

echo "== uninstall"
"$wine" "$program_files/uninstall.exe" /S
/usr/lib/wine/wineserver -w
[ ! -e "$program_files" ] || fail "left behind: $(cd "$program_files" && find .)"
[ ! -e "$shortcut" ] || fail "the shortcut is left"
! "$wine" reg query "$uninstall_key" >/dev/null 2>&1 || fail "still registered"
[[ ";$(system_path);" != *";C:\Program Files\Junctra;"* ]] || fail "still on PATH: $(system_path)"
echo "Uninstalled: no files, shortcut, registry key or PATH entry left"
