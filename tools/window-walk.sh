#!/usr/bin/env bash
# The desktop program under a window manager (openbox) on a virtual display: a window closed
# minimised comes back minimised, and the keyboard reaches the menu bar with a lone Alt and with
# F10. Every check prints one line; the last line counts them. Needs Xvfb, xdotool, xprop and
# openbox.
#
#   tools/window-walk.sh [BUILD_FOLDER]      (default: build/release)
set -uo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build/release}")
for tool in openbox xprop; do
  command -v "$tool" >/dev/null || { echo "window walk: $tool is not installed"; exit 1; }
done
source tools/lib/virtual-desktop.sh

openbox >/dev/null 2>&1 &
wm=$!
trap 'kill "$wm" 2>/dev/null; finish' EXIT
for _ in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break; sleep 0.1; done
settings=$XDG_CONFIG_HOME/sekreta/settings.ini
# The window whose title is exactly $1, shown or not, once it exists (within 20 seconds).
named() {
  local deadline=$((SECONDS + 20)) found
  while [ $SECONDS -lt $deadline ]; do
    found=$(xdotool search --name "^$1\$" 2>/dev/null | head -1)
    [ -n "$found" ] && { echo "$found"; return; }
    sleep 0.2
  done
}
# What the window manager says of window $1: Iconic or Normal.
wm_state() { xprop -id "$1" WM_STATE 2>/dev/null | sed -n 's/^[[:space:]]*window state: //p'; }
quit() {  # $1 a key that opens the File menu; then Exit
  keys "$1"
  keys x
  check "$2" "yes" "$(ended "$program")"
  program=
}

cd "$work"
"$sekreta" &
program=$!
main=$(window "Untitled - Sekreta")
check "the first start shows its window" "yes" "${main:+yes}"
quit alt+f "File > Exit ends the first start"
sed -i 's/^Status=number:1$/Status=number:2/' "$settings"
check "the settings say the window was closed minimised" "1" "$(grep -c '^Status=number:2$' "$settings")"

"$sekreta" &
program=$!
main=$(named "Untitled - Sekreta")
check "the next start comes back minimised" "Iconic" "$(settled Iconic wm_state "$main")"
sleep 1
check "and stays minimised" "Iconic" "$(wm_state "$main")"
xdotool windowactivate --sync "$main" 2>/dev/null
check "activated, it is restored" "Normal" "$(settled Normal wm_state "$main")"

# Alt alone puts the keyboard into the menu bar; a menu's letter then opens that menu.
keys alt
keys h
keys a
about=$(window "About Sekreta")
check "Alt, H, A shows the About box" "yes" "${about:+yes}"
keys Return
quit F10 "F10 opens the File menu, whose Exit ends the program"

report
