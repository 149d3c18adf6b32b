#!/usr/bin/env bash
# Installs the Debian packages of the named sets. Quick when they are already
# there: apt-get runs only for what is missing.
#
#   scripts/deps.sh SET...
#
#   build        the program and its German satellite, with Qt's translations
#   test         build, plus the test libraries, the packaging tools and the
#                German locale (the C library's German reasons)
#   fuzz         build, plus clang and its libFuzzer runtime
#   lint         clang-tidy and clang-format (scripts/lint.sh)
#   screenshots  test, plus an X server, a window manager and the tools that
#                grab its windows
#   windows      the Windows cross build (mingw-w64, and g++ for make_rc,
#                which writes the resource scripts on the build machine),
#                GoogleTest's sources, Wine to run the tests and NSIS for
#                the installer
#   windows-screenshots  windows, plus an X server, the tools that grab its
#                windows and Wine's own fonts
set -euo pipefail

# qt6-translations-l10n: Qt's own texts in the satellite's language.
build=(cmake ninja-build g++ pkg-config qt6-base-dev libgl-dev qt6-translations-l10n)
# dpkg-dev and file for cpack's shared library dependencies; locales and
# libc-l10n for the German locale and the C library's German texts.
test=(libgtest-dev dpkg-dev file appstream lintian locales libc-l10n)
fuzz=(clang-14 libclang-rt-14-dev)
# clang-tidy brings run-clang-tidy.
lint=(clang-tidy clang-format)
screenshots=(xvfb xauth x11-utils imagemagick fonts-dejavu-core openbox)
windows=(cmake ninja-build g++ g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 googletest wine64 nsis)
windows_screenshots=(xvfb x11-utils imagemagick fonts-wine)

[ "$#" -gt 0 ] || { echo "usage: scripts/deps.sh build|test|fuzz|lint|screenshots|windows|windows-screenshots..." >&2; exit 2; }
packages=()
for set in "$@"; do
  case $set in
    build) packages+=("${build[@]}") ;;
    test) packages+=("${build[@]}" "${test[@]}") ;;
    fuzz) packages+=("${build[@]}" "${fuzz[@]}") ;;
    lint) packages+=("${lint[@]}") ;;
    screenshots) packages+=("${build[@]}" "${test[@]}" "${screenshots[@]}") ;;
    windows) packages+=("${windows[@]}") ;;
    windows-screenshots) packages+=("${windows[@]}" "${windows_screenshots[@]}") ;;
    *) echo "deps.sh: unknown set '$set'" >&2; exit 2 ;;
  esac
done

missing=()
for p in $(printf '%s\n' "${packages[@]}" | awk '!seen[$0]++'); do
  [ "$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null)" = "install ok installed" ] || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq -o DPkg::Lock::Timeout=600 --no-install-recommends "${missing[@]}" >/dev/null
fi

# The tests run the program in German; the C library speaks it only in a
# generated locale.
if printf '%s\n' "${packages[@]}" | grep -qx locales && ! locale -a | grep -qix 'de_DE\.utf-\?8'; then
  echo "Generating the de_DE.UTF-8 locale"
  localedef -i de_DE -c -f UTF-8 de_DE.UTF-8
fi
