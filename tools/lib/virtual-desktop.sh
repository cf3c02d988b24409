# Sourced by the scripts that use the desktop program as a person would: a private home and
# XDG folders, a virtual display, and the helpers to find windows, type and check results.
# The sourcing script sets `build` first; everything is cleaned up when it exits.

sekreta=$build/src/app/sekreta
cli=$build/src/cli/sekreta-cli
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "$(basename "$0"): $tool is not installed"; exit 1; }
done
[ -x "$sekreta" ] && [ -x "$cli" ] || { echo "$(basename "$0"): build $sekreta and $cli first"; exit 1; }

work=$(mktemp -d)
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/run
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM
source tools/lib/checks.sh
xvfb=
program=

finish() {
  [ -n "$program" ] && kill "$program" 2>/dev/null
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap finish EXIT

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

# Whether process $1 ends within 5 seconds: "yes" or "no".
ended() {
  for _ in $(seq 50); do kill -0 "$1" 2>/dev/null || { echo yes; return; }; sleep 0.1; done
  echo no
}

# The walks' files: a pass phrase, an entry added by sekreta-cli, a count of entries, and a
# file of three entries.
walk_phrase='walk pass phrase'
add_entry() {  # add_entry FILE ACCOUNT USER URL PASSWORD
  printf '%s\n%s\n' "$walk_phrase" "$5" | "$cli" add "$1" --account "$2" --user "$3" --url "$4" \
    --passphrase-stdin --password-stdin >/dev/null
}
entries_of() { printf '%s\n' "$walk_phrase" | "$cli" ls "$1" --passphrase-stdin | wc -l; }
three_entries() {  # three_entries FILE
  printf '%s\n' "$walk_phrase" | "$cli" new "$1" --passphrase-stdin >/dev/null
  add_entry "$1" Bank me@bank https://bank.example b4nk-pw
  add_entry "$1" Mail me@mail https://mail.example m41l-pw
  add_entry "$1" Shop buyer https://shop.example sh0p-pw
}

# By default the server resets whenever its last client leaves, and drops a client that connects
# during that reset: the walks' xdotool polls leave and the program connects all the time.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(head -1 "$work/display")
