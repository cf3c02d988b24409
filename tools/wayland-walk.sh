#!/usr/bin/env bash
# Walks through the desktop program on a Wayland compositor, as a person would: weston with a
# seat (its X11 backend, in a virtual X display), the program on it through Qt's Wayland
# plugin. Has the compositor maximise a pass phrase prompt and a message box. Opens a file with
# its pass phrase, copies a password and reads the Wayland clipboard, deletes an entry and
# saves, exits; then starts again to see the window come back at its size, maximised, and
# minimised. Every check prints one line; the last line counts them. Needs Xvfb,
# xdotool, weston and wl-clipboard.
#
#   tools/wayland-walk.sh [BUILD_FOLDER]      (default: build/release)
#
# Weston's headless backend has no seat, and Qt 6.4's Wayland plugin ends in a line edit
# without one, so weston runs in a window of the virtual X display and takes its keys from
# there: xdotool types into that window. A Wayland program's windows are not seen from
# outside, so the walk reads the program's own protocol messages (WAYLAND_DEBUG) for the
# titles it gives its windows and the states it asks for.
set -uo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build/release}")
for tool in weston wl-paste; do
  command -v "$tool" >/dev/null || { echo "wayland walk: $tool is not installed"; exit 1; }
done
source tools/lib/virtual-desktop.sh

weston=
trap '[ -n "$weston" ] && kill "$weston" 2>/dev/null; finish' EXIT
export WAYLAND_DISPLAY=wayland-walk QT_QPA_PLATFORM=wayland
# Its window names itself only in _NET_WM_NAME, which xdotool does not search: its class.
# On a busy machine weston's X11 backend now and then fails to start: it gets three tries.
output=
for _ in 1 2 3; do
  # Left idle for five minutes, weston would lock its screen against the walk's keys.
  weston --backend=x11-backend.so --socket="$WAYLAND_DISPLAY" --width=1200 --height=760 --idle-time=0 \
    >"$work/weston.log" 2>&1 &
  weston=$!
  for _ in $(seq 100); do
    output=$(xdotool search --class "Weston Compositor" 2>/dev/null | head -1)
    [ -n "$output" ] && [ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] && break 2
    kill -0 "$weston" 2>/dev/null || break
    sleep 0.1
  done
  kill "$weston" 2>/dev/null
  wait "$weston" 2>/dev/null
  weston=
  output=
done
[ -n "$output" ] || { echo "wayland walk: weston did not start"; tail -5 "$work/weston.log"; exit 1; }
xdotool windowfocus --sync "$output"

log=$work/protocol.log
seen=0
start() {  # start ARGUMENTS...: the program, its protocol messages in $log
  : >"$log"
  seen=0
  WAYLAND_DEBUG=client "$sekreta" "$@" 2>"$log" &
  program=$!
}
# "yes" when the program has the keyboard: a new window takes it a moment after it shows, and
# wl-paste takes it for a moment to read the clipboard.
has_keyboard() { grep -a -o -e 'wl_keyboard@[0-9]*\.enter' -e 'wl_keyboard@[0-9]*\.leave' "$log" | tail -1 \
  | grep -q enter && echo yes; }
# Waits until the program sends the request $1 after the one found last (20 seconds at most);
# fails if it does not. Not in a subshell: it moves $seen on.
requested() {
  local deadline=$((SECONDS + 20)) line
  while [ $SECONDS -lt $deadline ]; do
    line=$(tail -n "+$((seen + 1))" "$log" | grep -a -n -m1 -F "$1" | cut -d: -f1)
    if [ -n "$line" ]; then
      seen=$((seen + line))
      return 0
    fi
    sleep 0.2
  done
  return 1
}
# Waits until the program gives a window the title $1 and has the keyboard; fails if it does not.
window() {
  requested "set_title(\"$1\")" && [ "$(settled yes has_keyboard)" = yes ] && sleep 0.3
}
exit_program() {  # File > Exit, and the program is gone
  keys alt+f
  requested ".get_popup("
  keys x
  check "$1" "yes" "$(ended "$program")"
  program=
}
settings=$XDG_CONFIG_HOME/sekreta/settings.ini
frame() { sed -n "s/^$1=number://p" "$settings"; }
set_frame() { sed -i "s/^$1=number:.*/$1=number:$2/" "$settings"; }
# The request $1 when the program makes it after the compositor first configured a window.
asked_once_shown() { awk -v request="$1" '/xdg_toplevel@[0-9]+\.configure/ { shown = 1 }
  shown && index($0, request) { print request; exit }' "$log"; }
clipboard() { wl-paste --no-newline; }
entries() { entries_of "$file"; }

file=$work/file.sek
three_entries "$file"

cd "$work"
# Weston's key Super+Shift+M maximises the window in front, and it ends a program whose
# maximised window keeps another size than the one it is given.
start file.sek
window "Enter Passphrase"
keys super+shift+m
type_text "not the pass phrase"
keys Return
window "Sekreta"
keys super+shift+m
maximised() { grep -a -c 'xdg_toplevel@[0-9]*\.configure(1200, 728' "$log"; }
check "maximised by the compositor, the pass phrase prompt and the message box grow" "2" "$(settled 2 maximised)"
keys Return
if [ "$(ended "$program")" = yes ]; then
  wait "$program"
  status=$?
else
  status="still running"
  kill -9 "$program"
fi
program=
check "and no protocol error ends the program: it ends the failed start itself" "1" \
  "$status$(grep -a -o -m1 'Wayland connection experienced a fatal error' "$log")"

start file.sek
window "Enter Passphrase"
check "sekreta file.sek asks for the pass phrase on Wayland" "0" "$?"
type_text "walk pass phrase"
keys Return
window "file.sek - Sekreta"
check "the entries show under the caption file.sek - Sekreta" "0" "$?"
keys ctrl+p
check "Ctrl+P puts the password of the entry selected on the Wayland clipboard" "sh0p-pw" \
  "$(settled sh0p-pw clipboard)"
settled yes has_keyboard >/dev/null
keys ctrl+d
keys ctrl+s
check "Ctrl+D and Ctrl+S write the file with one entry fewer" "2" "$(settled 2 entries)"
exit_program "File > Exit ends the program"
check "the settings file is written" "yes" "$([ -s "$settings" ] && echo yes)"

# The compositor places the window; its size and state are the program's.
set_frame Right "$(($(frame Left) + 700))"
set_frame Bottom "$(($(frame Top) + 450))"
start
window "Untitled - Sekreta"
exit_program "a second start ends with File > Exit"
check "the window came back at the size it had, 700 by 450" "700 450" \
  "$(($(frame Right) - $(frame Left))) $(($(frame Bottom) - $(frame Top)))"

set_frame Status 3
start
window "Untitled - Sekreta"
exit_program "a start maximised ends with File > Exit"
check "the window came back maximised over the same size" "3 700 450" \
  "$(frame Status) $(($(frame Right) - $(frame Left))) $(($(frame Bottom) - $(frame Top)))"

# A minimise asked before the compositor has shown the window would be ignored.
set_frame Status 2
start
requested "set_title(\"Untitled - Sekreta\")"
check "a window closed minimised is minimised once the compositor has shown it" "set_minimized" \
  "$(settled set_minimized asked_once_shown set_minimized)"

report
