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
source tools/lib/virtual-desktop.sh

file=$work/Letters.sek
phrase="correct horse battery staple"
printf '%s\n' "$phrase" | "$cli" new "$file" --passphrase-stdin >/dev/null
while IFS='|' read -r account user url password; do
  printf '%s\n%s\n' "$phrase" "$password" | "$cli" add "$file" --account "$account" \
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
"$sekreta" Letters.sek &
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
