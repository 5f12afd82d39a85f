#!/bin/sh
# Records the protocol conversations of this directory with the simulator and the probe.
# Usage: record.sh BIN_DIR   (the directory holding the built upssim and upsprobe)
set -eu
bin=$1
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

# Faults: each spoilt reply is followed by the command sent again, answered properly.
record faults "python3 -c '
import os, sys, time, tty
line = os.open(\"COM1\", os.O_RDWR | os.O_NOCTTY)
tty.setraw(line)
control = os.fdopen(3, \"w\")
def ask(command, fault=None):
    if fault:
        control.write(fault + \"\\n\"); control.flush(); time.sleep(0.2)
    os.write(line, command.encode() + b\"\\r\")
    time.sleep(0.8)
    if fault:
        control.write(\"normal\\n\"); control.flush(); time.sleep(0.2)
for command in (\":W\", \":L\", \":V\", \":S\", \":B\", \":D\"):
    ask(command)
for fault, command in ((\"echo-only\", \":D\"), (\"wrong-echo\", \":D\"), (\"garbage\", \":B\"),
                       (\"short\", \":D\"), (\"short\", \":B\"), (\"slow 20\", \":D\"), (\"silent\", \":D\")):
    ask(command, fault)
    ask(command)
'" --voltage-class 1 --line 228 --load 72 --battery 12.4
