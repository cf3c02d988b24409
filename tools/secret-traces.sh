#!/usr/bin/env bash
# Looks for secrets where the programs must not leave them, on a virtual display. Memory images
# of the running desktop program (gdb's gcore) must hold neither a closed file's pass phrase nor
# its passwords, in UTF-8 or UTF-16: after the file was opened and File > New chosen, and after a
# failed open under a wrong pass phrase (which must not be there either). And both programs must
# not be dumpable while they run: started as another user, their files in /proc belong to root.
# Needs Xvfb, xdotool, gdb and root (a memory image of a program that is not dumpable takes the
# right to trace any process).
#
#   tools/secret-traces.sh [BUILD_FOLDER]      (default: build/release)
set -uo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build/release}")
command -v gcore >/dev/null || { echo "secret traces: gdb is not installed"; exit 1; }
[ "$(id -u)" -eq 0 ] || { echo "secret traces: run as root, to take memory images and to start programs as nobody"; exit 1; }
source tools/lib/virtual-desktop.sh

phrase="Quokka-8817"
wrong_phrase="Kestrel-5529"
# Short texts live inside their strings (on the stack, in a vector), long ones in heap blocks.
passwords=("Vexillum-4471-Tarn" "Zq7wombatXy" "Pf9heron")

file=$work/vault.sek
printf '%s\n' "$phrase" | "$cli" new "$file" --passphrase-stdin >/dev/null
for i in "${!passwords[@]}"; do
  printf '%s\n%s\n' "$phrase" "${passwords[$i]}" | "$cli" add "$file" --account "Entry $i" --user "user$i" \
    --url "https://site$i.example" --passphrase-stdin --password-stdin >/dev/null
done

# The secrets that a memory image of process $1 holds, each once, as "TEXT (UTF-8)" or
# "TEXT (UTF-16)"; nothing when it holds none of them. Each is looked for without its first
# character, which is all that clearing a string overwrites.
traces() {
  local image=$work/image pid=$1 secret rest
  shift
  gcore -o "$image" "$pid" >/dev/null 2>&1 || { echo "no memory image"; return; }
  for secret in "$@"; do
    rest=${secret:1}
    grep -qaF -- "$rest" "$image.$pid" && echo "$secret (UTF-8)"
    LC_ALL=C grep -qaP -- "$(printf '%s' "$rest" | sed 's/./&\\x00/g')" "$image.$pid" && echo "$secret (UTF-16)"
  done
  rm -f "$image.$pid"
}

cd "$work"
"$sekreta" vault.sek &
program=$!
window "Enter Passphrase" >/dev/null
type_text "$phrase"
keys Return
main=$(window "vault.sek - Sekreta")
check "the file opens" "yes" "${main:+yes}"
keys ctrl+n
untitled=$(window "Untitled - Sekreta")
check "File > New empties the window" "yes" "${untitled:+yes}"
check "after File > New the memory holds neither the pass phrase nor a password" "" \
  "$(traces "$program" "$phrase" "${passwords[@]}")"

keys ctrl+o
window "Open" >/dev/null
type_text "$file"
keys Return
window "Enter Passphrase" >/dev/null
type_text "$wrong_phrase"
keys Return
window "Sekreta" >/dev/null
keys Return
untitled=$(window "Untitled - Sekreta")
check "a wrong pass phrase leaves an untitled document" "yes" "${untitled:+yes}"
check "after the failed open the memory holds neither pass phrase nor a password" "" \
  "$(traces "$program" "$wrong_phrase" "$phrase" "${passwords[@]}")"
kill "$program"
wait "$program" 2>/dev/null
program=

# Both programs started as nobody, each waiting for its pass phrase. A program that nobody may
# not read would be kept from dumping by the system, whatever it does itself.
chown -R nobody: "$work"
nobody=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
# "OWNER USER PROGRAM": who owns the files of process $1 in /proc, as whom and what it runs.
process() { echo "$(stat -c %U "/proc/$1/status") $(awk '/^Uid:/ {print $2}' "/proc/$1/status") $(readlink "/proc/$1/exe")"; }
check "nobody may read both programs" "yes" "$("${nobody[@]}" sh -c '[ -r "$1" ] && [ -r "$2" ] && echo yes' - "$sekreta" "$cli")"
"${nobody[@]}" sleep 30 &
# Once sleep runs: setpriv itself is kept from dumping between changing its user and starting it.
for _ in $(seq 50); do [ "$(readlink "/proc/$!/exe")" = "$(command -v sleep)" ] && break; sleep 0.1; done
sleep 0.2
check "a dumpable program that nobody runs shows as nobody's in /proc" "nobody 65534 $(command -v sleep)" "$(process $!)"
kill $!

"${nobody[@]}" "$sekreta" vault.sek &
program=$!
prompt=$(window "Enter Passphrase")
check "the desktop program, run by nobody, asks for the pass phrase" "yes" "${prompt:+yes}"
check "the desktop program is not dumpable: root owns its files in /proc" "root 65534 $sekreta" "$(process "$program")"
kill "$program"
wait "$program" 2>/dev/null
program=

# Standard input stays open and empty, so sekreta-cli waits on it for the pass phrase.
exec 4< <(sleep 30)
feeder=$!
"${nobody[@]}" "$cli" ls vault.sek --passphrase-stdin <&4 >/dev/null 2>&1 &
waiting=$!
for _ in $(seq 50); do grep -q '^0 ' "/proc/$waiting/syscall" 2>/dev/null && break; sleep 0.1; done
check "sekreta-cli, run by nobody, reads its pass phrase" "0" "$(cut -d' ' -f1 "/proc/$waiting/syscall")"
check "sekreta-cli is not dumpable: root owns its files in /proc" "root 65534 $cli" "$(process "$waiting")"
kill "$waiting" "$feeder"
exec 4<&-

report
