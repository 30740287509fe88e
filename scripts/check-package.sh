#!/usr/bin/env bash
# Checks a built Debian package of zKestrel: its name, version and
# maintainer (with an address), dependencies computed from the shared
# libraries, what it recommends, its copyright file, files under the
# package's own paths only, and no program in it but zKestrel, its desktop
# services zk-desktop and qcop, stripped. Prints the fields and the file
# list; exits non-zero on a fault.
#
#   bash scripts/check-package.sh build-package/zkestrel_<version>_amd64.deb
set -euo pipefail
deb=$1
top=$(cd "$(dirname "$0")/.." && pwd)
faults=0
fault() {
  echo "FAULT: $*"
  faults=$((faults + 1))
}
field() { dpkg-deb --field "$deb" "$1"; }

version=$(sed -n 's/^project(zKestrel VERSION \([0-9.]*\).*/\1/p' "$top/CMakeLists.txt")
[ "$(field Package)" = zkestrel ] || fault "package name $(field Package)"
[ "$(field Version)" = "$version" ] || fault "version $(field Version), the project's is $version"
maintainer='^The zKestrel team <[^@ <>]+@[^@ <>]+\.[^@ <>]+>$'
[[ $(field Maintainer) =~ $maintainer ]] || fault "maintainer $(field Maintainer), not the team with an address"
depends=$(field Depends)
depended=$(tr ',|' '\n\n' <<< "$depends" | awk '{ print $1 }')
for lib in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6dbus6 libqt6svg6; do
  grep -qxF "$lib" <<< "$depended" || fault "no dependency on $lib: $depends"
done

recommended=$(field Recommends | tr ',|' '\n\n' | awk '{ print $1 }')
grep -qxF qt6-wayland <<< "$recommended" || fault "qt6-wayland is not recommended: $(field Recommends)"

work=$(mktemp -d "${TMPDIR:-/tmp}/zk-deb.XXXXXX")
trap 'rm -rf "$work"' EXIT
dpkg-deb --extract "$deb" "$work"
files=$(cd "$work" && find . ! -type d | sed 's|^\.||' | sort)
allowed='^/usr/(bin/(zKestrel|qcop)|libexec/zkestrel/.*|lib/systemd/user/zkestrel(-desktop)?\.service|share/applications/zkestrel\.desktop|share/doc/zkestrel/copyright)$'
while read -r f; do
  grep -qE "$allowed" <<< "$f" || fault "file outside the package's paths: $f"
done <<< "$files"

# The programs: exactly these three, stripped; everything else is no program.
programs=$(cd "$work" && find . -type f -exec sh -c 'head -c4 "$1" | grep -q ELF' _ {} \; -print |
           sed 's|^\.||' | sort)
[ "$programs" = "$(printf '%s\n' /usr/bin/qcop /usr/libexec/zkestrel/zKestrel /usr/libexec/zkestrel/zk-desktop | sort)" ] ||
  fault "the programs in the package are: $programs"
while read -r p; do
  [ -n "$p" ] || continue
  if [[ $(readelf -S "$work$p") == *.symtab* ]]; then fault "$p is not stripped"; fi
done <<< "$programs"
head -n1 "$work/usr/bin/zKestrel" | grep -q '^#!/bin/sh' || fault "/usr/bin/zKestrel is not the launcher"
for pic in "$top"/img/*.png "$top"/panel/*.png; do
  rel=${pic#"$top"/}
  [ -f "$work/usr/libexec/zkestrel/$rel" ] || fault "picture $rel missing"
done
[ -f "$work/usr/libexec/zkestrel/zKestrel.png" ] || fault "the about icon is missing"
# The copyright file in the machine-readable form: its format line, and each
# files paragraph with a copyright holder and a licence.
copyright=$work/usr/share/doc/zkestrel/copyright
if [ ! -f "$copyright" ]; then
  fault "no /usr/share/doc/zkestrel/copyright"
else
  head -n1 "$copyright" | grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
    fault "the copyright file is not in the machine-readable form"
  awk 'BEGIN { RS = "" } /^Files:/ && !(/\nCopyright: [^\n]+/ && /\nLicense: [^\n]+/) { bad = 1 } END { exit bad }' \
    "$copyright" || fault "a files paragraph of the copyright file has no Copyright or License"
fi

echo "package:    $(field Package) $(field Version) ($(field Architecture)), $(du -k "$deb" | cut -f1) KiB"
echo "maintainer: $(field Maintainer)"
echo "depends:    $depends"
echo "recommends: $(field Recommends)"
echo "files:"
sed 's/^/  /' <<< "$files"
if [ "$faults" -gt 0 ]; then
  echo "check-package: $faults fault(s) in $deb"
  exit 1
fi
echo "check-package: $deb is sound"
