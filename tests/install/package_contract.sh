#!/usr/bin/env bash
# The install as a desktop and a package manager see it: package_contract.sh SOURCE-DIR BUILD-DIR
#   desktop-entry   the desktop entry passes desktop-file-validate
#   package         the Debian package CPack builds holds the programs, the companion, the desktop entry, the
#                   icons and the manual, and names its dependencies
# Exit 77 (skipped) when the tool a check needs is missing.
set -euo pipefail
source_dir=$1 build_dir=$2 check=$3
fail() { echo "FAIL: $*" >&2; exit 1; }

case $check in
desktop-entry)
  command -v desktop-file-validate >/dev/null || { echo "desktop-file-validate is missing"; exit 77; }
  out=$(desktop-file-validate "$source_dir/data/scrivano.desktop" 2>&1) || fail "$out"
  [ -z "$out" ] || fail "desktop-file-validate: $out"
  ;;
package)
  command -v dpkg-shlibdeps >/dev/null || { echo "dpkg-dev is missing"; exit 77; }
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  cpack --config "$build_dir/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 || fail "$(cat "$work/cpack.log")"
  deb=$(ls "$work"/scrivano_*.deb)
  contents=$(dpkg-deb --contents "$deb" | awk '{ $1=$2=$3=$4=$5=""; print substr($0, 6) }')
  for path in ./usr/bin/scrivano ./usr/bin/scrivano-cli ./usr/libexec/scrivano/vexo1 \
              ./usr/share/applications/scrivano.desktop ./usr/share/icons/hicolor/16x16/apps/scrivano.png \
              ./usr/share/icons/hicolor/64x64/apps/scrivano.png ./usr/share/icons/hicolor/128x128/apps/scrivano.png \
              "./usr/share/scrivano/Guide/Operational Manual.html" \
              "./usr/share/scrivano/Guide/Operational Manual.zh_CN.html" \
              "./usr/share/scrivano/Guide/Operational Manual.zh_TW.html" ./usr/share/scrivano/office/NextPiece.bas; do
    grep -qxF "$path" <<<"$contents" || fail "$path is not in the package: $contents"
  done
  depends=$(dpkg-deb -f "$deb" Depends)
  for package in libqt6webenginewidgets6 libqt6widgets6 libqt6network6 libzip4 libuchardet0 libx11-6 libxtst6 xdg-utils; do
    grep -q "\b$package\b" <<<"$depends" || fail "Depends lacks $package: $depends"
  done
  grep -q libreoffice <<<"$depends" && fail "LibreOffice is required, not recommended: $depends"
  grep -q 'libreoffice-writer' <<<"$(dpkg-deb -f "$deb" Recommends)" || fail "Writer is not recommended"
  echo "$(basename "$deb"): $(stat -c %s "$deb") bytes; Depends: $depends"
  ;;
*) fail "unknown check $check" ;;
esac
