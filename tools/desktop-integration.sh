#!/usr/bin/env bash
# Sekreta at home on a Linux desktop, on a virtual display with private XDG folders: the first
# start registers .sek files with the desktop, a later start changes nothing, a second
# `sekreta FILE` hands the file to the running program, and `sekreta /Unregister` takes the
# registration and the settings away again. Needs Xvfb, xdotool and xdg-utils.
#
#   tools/desktop-integration.sh [BUILD_FOLDER]      (default: build/release)
set -uo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build/release}")
command -v xdg-mime >/dev/null || { echo "desktop integration: xdg-mime is not installed"; exit 1; }
source tools/lib/virtual-desktop.sh

# Without a named desktop, xdg-mime asks file(1), which knows nothing of the MIME database.
filetype() { XDG_CURRENT_DESKTOP=GNOME xdg-mime query filetype "$work/Letters.sek" 2>/dev/null; }
default_program() { XDG_CURRENT_DESKTOP=GNOME xdg-mime query default application/x-sekreta 2>/dev/null; }
# Every file under the data folder with its size and time of change.
registration() { find "$XDG_DATA_HOME" -type f -printf '%P %s %T@\n' | sort; }
quit() {  # File > Exit, and the program is gone
  keys alt+f
  keys x
  check "$1" "yes" "$(ended "$program")"
  program=
}

cd "$work"
phrase="integration pass phrase"
printf '%s\n' "$phrase" | "$cli" new Letters.sek --passphrase-stdin >/dev/null

"$sekreta" &
program=$!
check "the first start shows an empty document" "yes" "$(window "Untitled - Sekreta" | grep -q . && echo yes)"
check "Letters.sek is a Sekreta document to the desktop" "application/x-sekreta" "$(filetype)"
check "Sekreta opens Sekreta documents" "sekreta-document.desktop" "$(default_program)"
quit "File > Exit ends the first start"

before=$(registration)
"$sekreta" &
program=$!
check "the second start shows its window" "yes" "$(window "Untitled - Sekreta" | grep -q . && echo yes)"
check "the second start changes nothing on disk" "$before" "$(registration)"

"$sekreta" Letters.sek
check "sekreta FILE hands the file to the running program and ends at once" "0" "$?"
check "the running program asks for the file's pass phrase" "yes" \
  "$(window "Enter Passphrase" | grep -q . && echo yes)"
type_text "$phrase"
keys Return
check "the running program shows the file" "yes" "$(window "Letters.sek - Sekreta" | grep -q . && echo yes)"
quit "File > Exit ends the program that took the file"
check "the settings file is written" "yes" "$([ -s "$XDG_CONFIG_HOME/sekreta/settings.ini" ] && echo yes)"

"$sekreta" /Unregister &
program=$!
box=$(window "Sekreta")
check "sekreta /Unregister says so in a message" "yes" "${box:+yes}"
xdotool windowfocus --sync "$box" 2>/dev/null
keys Return
check "the unregister run ends when the message is closed" "yes" "$(ended "$program")"
program=
check "Letters.sek is no longer a Sekreta document" "no" "$(filetype | grep -q x-sekreta && echo yes || echo no)"
check "nothing opens Sekreta documents any more" "" "$(default_program)"
check "the settings file is gone" "no" "$([ -e "$XDG_CONFIG_HOME/sekreta/settings.ini" ] && echo yes || echo no)"

report
