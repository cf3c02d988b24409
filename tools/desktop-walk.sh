#!/usr/bin/env bash
# Walks through the desktop program as a person would, on a virtual display: opens a file with
# its pass phrase, copies an entry's password (marked as a secret), user and URL and reads the X
# clipboard, deletes an entry and saves, opens with a wrong pass phrase, and exits. Every check
# prints one line; the last line counts them. Needs Xvfb, xdotool and xclip.
#
#   tools/desktop-walk.sh [BUILD_FOLDER]      (default: build/release)
set -uo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build/release}")
command -v xclip >/dev/null || { echo "desktop walk: xclip is not installed"; exit 1; }
source tools/lib/virtual-desktop.sh

clipboard() { xclip -o -selection clipboard; }
# Whether the clipboard offers the clipboard managers' hint among its types.
hinted() { xclip -o -selection clipboard -t TARGETS | grep -qx x-kde-passwordManagerHint && echo yes || echo no; }
entries() { printf 'walk pass phrase\n' | "$cli" ls "$file" --passphrase-stdin | wc -l; }
message_copied() { clipboard | grep -qx 'Unexpected file format\.' && echo yes; }

# A file of three entries, written by the command-line companion.
file=$work/file.sek
printf 'walk pass phrase\n' | "$cli" new "$file" --passphrase-stdin >/dev/null
add() { printf 'walk pass phrase\n%s\n' "$4" | "$cli" add "$file" --account "$1" --user "$2" --url "$3" \
  --passphrase-stdin --password-stdin >/dev/null; }
add Bank me@bank https://bank.example b4nk-pw
add Mail me@mail https://mail.example m41l-pw
add Shop buyer https://shop.example sh0p-pw

cd "$work"
"$sekreta" file.sek &
program=$!

prompt=$(window "Enter Passphrase")
check "sekreta file.sek asks for the pass phrase" "yes" "${prompt:+yes}"
type_text "walk pass phrase"
keys Return
main=$(window "file.sek - Sekreta")
check "the entries show under the caption file.sek - Sekreta" "yes" "${main:+yes}"

keys ctrl+p
check "Ctrl+P puts the password of the last entry, the one selected, on the clipboard" "sh0p-pw" \
  "$(settled sh0p-pw clipboard)"
check "the password is marked for clipboard managers to keep out of their history" "yes secret" \
  "$(hinted) $(xclip -o -selection clipboard -t x-kde-passwordManagerHint)"
keys ctrl+u
check "Ctrl+U puts its user on the clipboard" "buyer" "$(settled buyer clipboard)"
check "the user carries no such mark" "no" "$(hinted)"
keys ctrl+w
check "Ctrl+W puts its URL on the clipboard" "https://shop.example" "$(settled https://shop.example clipboard)"

keys ctrl+d
keys ctrl+s
check "Ctrl+D and Ctrl+S write the file with one entry fewer" "2" "$(settled 2 entries)"

# A new document holds no pass phrase, so opening asks for one.
keys ctrl+n
keys ctrl+o
open=$(window "Open")
check "File > Open shows the Open dialog" "yes" "${open:+yes}"
type_text "$file"
keys Return
prompt=$(window "Enter Passphrase")
type_text "not the pass phrase"
keys Return
box=$(window "Sekreta")
check "a wrong pass phrase shows a message" "yes" "${box:+yes}"
keys ctrl+c
check "the message is \"Unexpected file format.\"" "yes" "$(settled yes message_copied)"
keys Return
untitled=$(window "Untitled - Sekreta")
check "the caption is Untitled - Sekreta again" "yes" "${untitled:+yes}"

keys alt+f
keys x
check "File > Exit ends the program" "yes" "$(ended "$program")"
program=
check "the settings file is written" "yes" "$([ -s "$XDG_CONFIG_HOME/sekreta/settings.ini" ] && echo yes)"

report
