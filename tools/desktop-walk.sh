#!/usr/bin/env bash
# Walks through the desktop program as a person would, on a virtual display: opens a file with
# its pass phrase, copies an entry's password, user and URL and reads the X clipboard, deletes
# an entry and saves, opens with a wrong pass phrase, and exits. Every check prints one line;
# the last line counts them. Needs Xvfb, xdotool and xclip.
#
#   tools/desktop-walk.sh [BUILD_FOLDER]      (default: build/release)
set -uo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build/release}")
sekreta=$build/src/app/sekreta
cli=$build/src/cli/sekreta-cli
for tool in Xvfb xdotool xclip; do
  command -v "$tool" >/dev/null || { echo "desktop walk: $tool is not installed"; exit 1; }
done
[ -x "$sekreta" ] && [ -x "$cli" ] || { echo "desktop walk: build $sekreta and $cli first"; exit 1; }

work=$(mktemp -d)
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/run
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM
passed=0
failed=0
xvfb=
program=

finish() {
  [ -n "$program" ] && kill "$program" 2>/dev/null
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap finish EXIT

check() {  # check DESCRIPTION EXPECTED ACTUAL
  if [ "$2" = "$3" ]; then
    echo "ok: $1"
    passed=$((passed + 1))
  else
    echo "FAILED: $1: expected \"$2\", got \"$3\""
    failed=$((failed + 1))
  fi
}

# The window whose title is exactly $1, once it shows (within 20 seconds); empty if it never does.
window() {
  local deadline=$((SECONDS + 20)) found
  while [ $SECONDS -lt $deadline ]; do
    found=$(xdotool search --onlyvisible --name "^$(printf '%s' "$1" | sed 's/[][\.*^$]/\\&/g')\$" 2>/dev/null | head -1)
    [ -n "$found" ] && { echo "$found"; return; }
    sleep 0.2
  done
}

# Types into the window that has the focus, then settles.
keys() { xdotool key --clearmodifiers --delay 60 "$@"; sleep 0.4; }
type_text() { xdotool type --clearmodifiers --delay 40 "$1"; sleep 0.3; }

# What command $2... prints once it prints $1, or what it prints after 10 seconds.
settled() {
  local expected=$1 actual deadline=$((SECONDS + 10))
  shift
  while :; do
    actual=$("$@" 2>/dev/null)
    if [ "$actual" = "$expected" ] || [ $SECONDS -ge $deadline ]; then
      printf '%s' "$actual"
      return
    fi
    sleep 0.2
  done
}
clipboard() { xclip -o -selection clipboard; }
entries() { printf 'walk pass phrase\n' | "$cli" ls "$file" --passphrase-stdin | wc -l; }
message_copied() { clipboard | grep -qx 'Unexpected file format\.' && echo yes; }

Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(head -1 "$work/display")

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
keys ctrl+u
check "Ctrl+U puts its user on the clipboard" "buyer" "$(settled buyer clipboard)"
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
for _ in $(seq 50); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$program" 2>/dev/null; then exited=no; else exited=yes; program=; fi
check "File > Exit ends the program" "yes" "$exited"
check "the settings file is written" "yes" "$([ -s "$XDG_CONFIG_HOME/sekreta/settings.ini" ] && echo yes)"

echo "walk: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
