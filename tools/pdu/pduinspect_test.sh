#!/usr/bin/env bash
# A stream with a bad line in the middle: every good line is still decoded, the bad one is
# reported on its own line on both streams, and the exit status says something failed.
set -u
tool=$1
fail() { echo "FAIL: $*"; exit 1; }

errors=$(mktemp)
trap 'rm -f "$errors"' EXIT
out=$(printf '%s\n' 0011000B916407281553F80000AA0AE8329BFD4697D9EC37 0001ZZ 00010005812143F5000000 |
      "$tool" decode --mo 2>"$errors")
status=$?
err=$(cat "$errors")
[ "$status" -eq 1 ] || fail "exit status $status"
[ "$(printf '%s\n' "$out" | wc -l)" -eq 3 ] || fail "not one object per line: $out"
printf '%s\n' "$out" | sed -n 1p | grep -q '"DA":"+46708251358".*"VP":4,.*"text":"hellohello"' || fail "line 1: $out"
printf '%s\n' "$out" | sed -n 2p | grep -qF '{"line":2,"error":"'"'"'$ZZ'"'"' is not a valid integer value"}' || fail "line 2: $out"
printf '%s\n' "$out" | sed -n 3p | grep -q '"DA":"12345"' || fail "line 3: $out"
[ "$err" = "pduinspect: line 2: '\$ZZ' is not a valid integer value" ] || fail "stderr: $err"

pdu=$("$tool" encode --da 12345 --text "Hi" --srr --vp 1d) || fail "encode failed"
[ "$pdu" = "00310005812143F50000A702C834" ] || fail "encode gave $pdu"
"$tool" encode --da 12345 --text $'\xe6\x97\xa5' 2>/dev/null && fail "encoded a character ISO 8859-1 lacks"
exit 0
