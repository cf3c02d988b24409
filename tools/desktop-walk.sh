#!/usr/bin/env bash
# Walks through the desktop program as a person would, on a virtual display: opens a file with
# its pass phrase, copies an entry's password (marked as a secret), user and URL and reads the X
# clipboard, meets a failing opener in Go to URL and Help Topics, deletes an entry and saves,
# saves again after sekreta-cli changed the file and is asked first, opens with a wrong pass
# phrase, hands a second file over from a second start while a pass phrase prompt is up, and
# exits. Every check prints one line; the last line counts them. Needs Xvfb, xdotool and xclip.
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
entries() { entries_of "$file"; }
message_copied() { clipboard | grep -qxF "$1" && echo yes; }
question_copied() { clipboard | grep -qxF "$file was changed by another program after Sekreta read it." && echo yes; }

# A file of three entries, written by the command-line companion.
file=$work/file.sek
three_entries "$file"
add() { add_entry "$file" "$@"; }

# The desktop's opener, first on PATH, fails as xdg-open does when no browser is configured.
mkdir -p "$work/bin"
printf '#!/bin/sh\nexit 4\n' > "$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"

cd "$work"
PATH="$work/bin:$PATH" "$sekreta" file.sek &
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

keys ctrl+g
box=$(window "Sekreta")
keys ctrl+c
check "Ctrl+G with a failing opener says \"Failed to connect automatically.\"" "yes" \
  "$(settled yes message_copied 'Failed to connect automatically.')"
keys Return
keys alt+h
keys Return
box=$(window "Sekreta")
keys ctrl+c
check "Help > Help Topics with a failing opener says \"Failed to launch help.\"" "yes" \
  "$(settled yes message_copied 'Failed to launch help.')"
keys Return

keys ctrl+d
keys ctrl+s
check "Ctrl+D and Ctrl+S write the file with one entry fewer" "2" "$(settled 2 entries)"

# sekreta-cli adds an entry while the file is open: the next Save asks before it replaces the
# file, and No leaves the file as sekreta-cli wrote it.
add Club member https://club.example c1ub-pw
keys Down Up
keys ctrl+d
keys ctrl+s
question=$(window "Sekreta")
keys ctrl+c
check "Ctrl+S asks first: the file was changed by another program" "yes" "$(settled yes question_copied)"
keys alt+n
check "after No the file still holds the entry added by sekreta-cli" "3" "$(settled 3 entries)"
keys ctrl+n
prompt=$(window "Sekreta")
check "the changes are still there: File > New asks to save them" "yes" "${prompt:+yes}"
keys alt+n

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
check "the message is \"Unexpected file format.\"" "yes" "$(settled yes message_copied 'Unexpected file format.')"
keys Return
untitled=$(window "Untitled - Sekreta")
check "the caption is Untitled - Sekreta again" "yes" "${untitled:+yes}"

# A second `sekreta FILE` while the Open's prompt is up waits for the prompt, and changes nothing.
other=$work/other.sek
printf 'walk pass phrase\n' | "$cli" new "$other" --passphrase-stdin >/dev/null
printf 'walk pass phrase\not-pw\n' | "$cli" add "$other" --account Other --passphrase-stdin --password-stdin >/dev/null
sums() { sha256sum "$file" "$other" | cut -d' ' -f1 | tr '\n' ' '; }
both_listed() { printf 'walk pass phrase\n' | "$cli" ls "$other" --passphrase-stdin | wc -l; entries; }
before=$(sums)
keys ctrl+o
window "Open" >/dev/null
type_text "$file"
keys Return
prompt=$(window "Enter Passphrase")
"$sekreta" other.sek
check "a second sekreta other.sek during the prompt is taken at once" "0" "$?"
check "it changes no file on disk while the prompt is up" "$before" "$(sums)"
type_text "walk pass phrase"
keys Return
check "after the prompt the requested file opens: other.sek - Sekreta" "yes" \
  "$(window "other.sek - Sekreta" | grep -q . && echo yes)"
check "no prompt is left open" "" "$(xdotool search --onlyvisible --name '^Enter Passphrase$' 2>/dev/null)"
keys ctrl+p
check "the list is other.sek's: Ctrl+P copies its password" "ot-pw" "$(settled ot-pw clipboard)"
check "no file on disk changed" "$before" "$(sums)"
check "sekreta-cli still lists both files' entries" "$(printf '1\n3')" "$(both_listed)"

keys alt+f
keys x
check "File > Exit ends the program" "yes" "$(ended "$program")"
program=
check "the settings file is written" "yes" "$([ -s "$XDG_CONFIG_HOME/sekreta/settings.ini" ] && echo yes)"

report
