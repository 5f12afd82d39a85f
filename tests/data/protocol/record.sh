#!/bin/sh
# Records the protocol conversations of this directory with the simulator and the probe.
# Usage: record.sh BIN_DIR   (the directory holding the built upssim and upsprobe)
set -eu
bin=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Runs the simulator with the given options while a client talks to it, then appends the
# simulator's state as "# expect" lines; $1 names the recording, $2 the client command.
record() {
    name=$1 client=$2
    shift 2
    mkfifo "$work/in"
    "$bin/upssim" --link "$work/COM1" --transcript "$work/t.txt" "$@" <"$work/in" >"$work/state" &
    sim=$!
    exec 3>"$work/in"
    while [ ! -e "$work/COM1" ]; do sleep 0.05; done
    (cd "$work" && eval "$client")
    echo state >&3
    echo quit >&3
    exec 3>&-
    wait $sim
    { grep -v '^# serving ' "$work/t.txt"; sed -n '/./s/^/# expect /p' "$work/state"; } \
        >"$here/$name.txt"
    rm -f "$work/in" "$work/t.txt" "$work/state"
}

record plain "'$bin/upsprobe' --polls 2 COM1 >/dev/null" \
    --va 1250 --voltage-class 1 --line 230 --load 40 --temperature 140 --battery 13.1 \
    --frequency 50.0 --firmware 21

record extended "'$bin/upsprobe' --polls 2 --nominal 208 --selftest COM1 >/dev/null" \
    --extended --family corvel --va 2200 --voltage-class 3 --nominal 208 --line 207 \
    --load 63 --regulator 1 --selftest-result 1 --selftest-seconds 2 --phone 1

# A client that asks the commands of its arguments on COM1, 0.8 s apart; "FAULT/COMMAND" puts
# the simulator (through descriptor 3) under FAULT for that command and back to normal after it.
cat >"$work/ask.py" <<'PYTHON'
import os, sys, time, tty
line = os.open("COM1", os.O_RDWR | os.O_NOCTTY)
tty.setraw(line)
control = os.fdopen(3, "w")
def tell(text):
    control.write(text + "\n"); control.flush(); time.sleep(0.2)
for argument in sys.argv[1:]:
    fault, _, command = argument.rpartition("/")
    if fault:
        tell(fault)
    os.write(line, command.encode() + b"\r")
    time.sleep(0.8)
    if fault:
        tell("normal")
PYTHON
ask="python3 '$work/ask.py'"

# Faults: each spoilt reply is followed by the command sent again, answered properly.
record faults "$ask :W :L :V :S :B :D :C echo-only/:D :D wrong-echo/:D :D garbage/:B :B \
    short/:D :D short/:B :B 'slow 20/:D' :D silent/:D :D" --voltage-class 1 --line 228 --load 72 \
    --battery 12.4

# Replies cut short: the probe's walk decodes the one-field replies by the field rule and fails
# at :D; then the status and self-test result are asked without the fault. Every identification
# value has its two digits alike, so that its first digit alone decodes to the whole of it.
record short "echo short >&3; sleep 0.2; '$bin/upsprobe' --polls 1 --retries 2 COM1 >/dev/null \
    || true; echo normal >&3; sleep 0.2; $ask :D :C" \
    --identity 55 --firmware 33 --battery 13.6 --load 41
