#!/usr/bin/env bash
# Takes the README's pictures of the desktop program on a virtual display: the main window
# with a few entries, and the entry dialog. Needs Xvfb, xdotool and ImageMagick's import
# (tools/install-packages.sh screenshots).
#
#   tools/screenshots.sh [BUILD_FOLDER]      (default: build/release; writes docs/screenshots/)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build/release}")
out=$(realpath docs)/screenshots
mkdir -p "$out"

work=$(mktemp -d)
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/run
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM
xvfb=
program=
finish() {
  [ -n "$program" ] && kill "$program" 2>/dev/null
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap finish EXIT

window() {  # the visible window titled exactly $1, waited for
  for _ in $(seq 100); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1 || true)
    [ -n "$id" ] && { echo "$id"; return; }
    sleep 0.2
  done
  echo "screenshots: the window \"$1\" did not show" >&2
  exit 1
}

Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(head -1 "$work/display")

file=$work/Letters.sek
phrase="correct horse battery staple"
printf '%s\n' "$phrase" | "$build/src/cli/sekreta-cli" new "$file" --passphrase-stdin >/dev/null
while IFS='|' read -r account user url password; do
  printf '%s\n%s\n' "$phrase" "$password" | "$build/src/cli/sekreta-cli" add "$file" --account "$account" \
    --user "$user" --url "$url" --passphrase-stdin --password-stdin >/dev/null
done <<'ENTRIES'
Bank of Example|j.doe|https://bank.example/login|Fovadu7Kel
Example Mail|jane.doe@example.com|https://mail.example|rezuhaboni
Library card|100234567|https://library.example.org|Tuvekapo4
Photo sharing|janed|https://photos.example.net|mibogeyaxu
Shop|jane.doe@example.com|https://shop.example/account|Kazerovu8
Tax office|JD-8812-44|https://tax.example.gov|lodesiha3W
ENTRIES

cd "$work"
"$build/src/app/sekreta" Letters.sek &
program=$!
window "Enter Passphrase" >/dev/null
xdotool type --delay 20 "$phrase"
xdotool key Return
main=$(window "Letters.sek - Sekreta")
sleep 1
import -window "$main" "$out/main-window.png"

# Enter modifies the selected entry.
xdotool key Return
entry=$(window "Account Entry")
sleep 0.5
import -window "$entry" "$out/entry-dialog.png"
xdotool key Escape
echo "screenshots: $out/main-window.png, $out/entry-dialog.png"
