#!/usr/bin/env bash
# Builds the packages of a build tree with cpack and checks what they hold:
# the zip and the installer carry exactly the program folder that the install
# rules make, built for the tree's architecture.
#   packages.sh x86_64 BUILD NEWER_VERSION  also builds an installer of a newer
#       version and unpacks the zip into "portable copy" for InstallerTests.cpp
#   packages.sh i686 BUILD                  exits 77 (skipped) without that build
set -euo pipefail
arch=$1
build=$2
newer=${3:-}
out=$build/packages-test

if [ "$arch" = i686 ] && [ ! -f "$build/CPackConfig.cmake" -o ! -f "$build/bin/Orvane_Shell.exe" ]; then
  echo "packages: no built i686 tree at $build (cmake --preset i686 && cmake --build --preset i686)"
  exit 77
fi
build=$(cd "$build" && pwd)
out=$build/packages-test
case "$arch" in
x86_64) label=win64 machine=8664 ;;
i686) label=win32 machine=014c ;;
*) echo "usage: packages.sh x86_64|i686 BUILD [NEWER_VERSION]" >&2; exit 2 ;;
esac

rm -rf "$out"
mkdir -p "$out"
started=$(date +%s%N)
(cd "$build" && cpack -B "$out" >"$out/cpack.log" 2>&1) || { cat "$out/cpack.log"; exit 1; }
echo "packages: zip and installer built in $((($(date +%s%N) - started) / 1000000)) ms"
zip=$(ls "$out"/OrvaneShell-*-$label.zip)
setup=$(ls "$out"/OrvaneShell-*-$label-setup.exe)
ls -l "$zip" "$setup"

# PE machine field of a Windows executable, as 4 hex digits.
pe_machine() {
  local header
  header=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
  od -An -tx2 -j$((header + 4)) -N2 "$1" | tr -d ' '
}

faults=0
fault() { echo "packages: $*"; faults=$((faults + 1)); }

expected=$out/expected
cmake --install "$build" --prefix "$expected" >/dev/null
(cd "$expected" && find . -type f | sed 's|^\./||' | sort) >"$out/expected.txt"
(cd "$expected" && find . -mindepth 1 -type d | sed 's|^\./||' | sort) >"$out/expected-dirs.txt"

top=$(basename "$zip" .zip)
unzip -Z1 "$zip" | sed "s|^$top/||" | grep -v '/$' | grep . | sort >"$out/zip.txt"
unzip -Z1 "$zip" | sed "s|^$top/||" | grep '/$' | sed 's|/$||' | sort >"$out/zip-dirs.txt"
diff -u "$out/expected.txt" "$out/zip.txt" || fault "the zip's files differ from the program folder"
diff -u "$out/expected-dirs.txt" "$out/zip-dirs.txt" || fault "the zip's folders differ from the program folder"

# The installer's own list; the uninstaller it writes is not a file in it.
7zz l -ba -slt "$setup" | sed -n 's/^Path = //p' | tr '\\' '/' | grep -v '^\$PLUGINSDIR' |
  grep -v '/$' | sort >"$out/setup-list.txt"
# One file a line: names may hold blanks ("Icons/System/Control panel.ico").
while IFS= read -r file; do
  grep -qxF "$file" "$out/setup-list.txt" || fault "the installer lacks $file"
done <"$out/expected.txt"
extra=$(grep -vxF -f "$out/expected.txt" "$out/setup-list.txt" | grep -v 'Uninstall\.exe$' || true)
[ -z "$extra" ] || fault "the installer holds more than the program folder: $extra"

[ "$(pe_machine "$setup")" = "$machine" ] || fault "$(basename "$setup") is not built for $arch"
mkdir -p "$out/unzipped"
(cd "$out/unzipped" && unzip -q "$zip")
for file in Orvane_Shell.exe winwatch.dll; do
  [ "$(pe_machine "$out/unzipped/$top/$file")" = "$machine" ] || fault "$file in the zip is not built for $arch"
done

if [ "$arch" = x86_64 ]; then
  (cd "$build" && cpack -G NSIS -D CPACK_PACKAGE_VERSION="$newer" -B "$out/newer" >>"$out/cpack.log" 2>&1) ||
    { cat "$out/cpack.log"; exit 1; }
  mv "$out/unzipped" "$out/portable copy"
fi
rm -rf "$out/_CPack_Packages" "$out/newer/_CPack_Packages" "$expected"
[ "$faults" = 0 ] || exit 1
echo "packages: $arch packages hold the program folder ($(wc -l <"$out/expected.txt") files)"
