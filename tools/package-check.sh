#!/usr/bin/env bash
# Checks the Debian package as a distribution would: makes it from the release build
# (tools/package.sh), runs lintian and appstreamcli on it, runs the programs it holds from an
# unpacked copy, and compares its files with what `cmake --install` installs. Every check
# prints one line; the last line counts them. Needs lintian, appstreamcli and dpkg-deb.
#
#   tools/package-check.sh [BUILD_FOLDER]      (default: build/release)
set -uo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build/release}")
for tool in lintian appstreamcli dpkg-deb; do
  command -v "$tool" >/dev/null || { echo "package check: $tool is not installed"; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source tools/lib/checks.sh

deb=$(tools/package.sh "$build") || { echo "package check: the package could not be made"; exit 1; }
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$build/CMakeCache.txt")
check "the package is named after the version and the machine" \
  "sekreta_${version}_$(dpkg --print-architecture).deb" "$(basename "$deb")"
depends=$(dpkg-deb -f "$deb" Depends)
check "it depends on Qt's Wayland plugin and on the libraries the programs link" "yes" \
  "$(grep -q 'qt6-wayland' <<<"$depends" && grep -q 'libqt6widgets6' <<<"$depends" && echo yes)"
check "it recommends the URL opener" "yes" "$(dpkg-deb -f "$deb" Recommends | grep -q xdg-utils && echo yes)"

# Root or not, lintian judges the same; it only says that it would rather not run as root.
lintian --fail-on error,warning "$deb" 2>&1 | grep -v 'running with root privileges' >"$work/lintian"
status=${PIPESTATUS[0]}
cat "$work/lintian"
check "lintian finds no error and no warning" "0" "$status"

unpacked=$work/unpacked
dpkg-deb -x "$deb" "$unpacked"
metainfo=$unpacked/usr/share/metainfo/com.example.tavisto.sekreta.metainfo.xml
# The screenshots and the homepage are on the maker's site, which is not reached from here.
appstreamcli validate --no-net --pedantic "$metainfo" >"$work/appstream" 2>&1
status=$?
cat "$work/appstream"
check "appstreamcli validate finds nothing to remark" "0 ✔ Validation was successful." \
  "$status $(tail -1 "$work/appstream")"
check "the metainfo's release is this version" "yes" \
  "$(grep -q "<release version=\"$version\"" "$metainfo" && echo yes)"

cli=$unpacked/usr/bin/sekreta-cli
check "the unpacked sekreta-cli tells its version" "sekreta-cli $version" "$("$cli" --version)"
file=$work/round-trip.sek
printf 'package pass phrase\n' | "$cli" new "$file" --passphrase-stdin >/dev/null
printf 'package pass phrase\nt0p-s3cret\n' | "$cli" add "$file" --account Bank --user me \
  --url https://bank.example --passphrase-stdin --password-stdin >/dev/null
check "an entry it adds to a new file comes back from the file" "t0p-s3cret" \
  "$(printf 'package pass phrase\n' | "$cli" show "$file" Bank --field password --passphrase-stdin)"
check "the guide is where the desktop program looks for it from /usr/bin" "yes" \
  "$([ -f "$unpacked/usr/bin/../share/doc/sekreta/index.html" ] && echo yes)"

# Every file of the package is one that `cmake --install` puts in the same place.
DESTDIR=$work/installed cmake --install "$build" --prefix /usr >/dev/null
files() { (cd "$1" && find . \( -type f -o -type l \) | sort); }
check "every file in the package is one that cmake --install installs" "" \
  "$(comm -23 <(files "$unpacked") <(files "$work/installed") | tr '\n' ' ')"

report
