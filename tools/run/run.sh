#!/usr/bin/env bash
# The demo behind `make run`: a simulated modem published as Com2, the control registered in a
# registry of the build tree's own, and the console on it. Without a display it runs the
# command-line client against the same modem instead.
#   tools/run/run.sh [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)

gsmsim=$build/sim/gsmsim
celvane=$build/control/libcelvane.so
gwregsvr=$build/tools/regsvr/gwregsvr
pelorin=$build/console/Pelorin
gwautomate=$build/tools/automate/gwautomate
for program in "$gsmsim" "$celvane" "$gwregsvr"; do
  [ -e "$program" ] || { echo "make run: $program is missing; build first (make build)" >&2; exit 1; }
done

# Everything of the demo stays under the build tree: registry, port directory, settings, logs.
run=$build/run
rm -rf "$run"
mkdir -p "$run/ports"
export GATEWAY_REGISTRY=$run/registry
export GATEWAY_PORT_DIR=$run/ports
own_number=+491701234567   # the simulated modem's own number: what is sent there comes back

"$gwregsvr" >/dev/null
"$gwregsvr" "$celvane" >/dev/null
echo "control registered in $GATEWAY_REGISTRY"

# The simulated modem reads its control commands from a pipe the script keeps open.
mkfifo "$run/gsmsim.in"
"$gsmsim" --model TC35 --link com2 <"$run/gsmsim.in" >"$run/gsmsim.out" 2>"$run/gsmsim.log" &
sim_pid=$!
exec 3>"$run/gsmsim.in"
cleanup() {
  exec 3>&-
  kill "$sim_pid" 2>/dev/null || true
  wait "$sim_pid" 2>/dev/null || true
}
trap cleanup EXIT
for _ in $(seq 100); do
  [ -e "$GATEWAY_PORT_DIR/com2" ] && break
  kill -0 "$sim_pid" 2>/dev/null || { echo "make run: gsmsim did not start:" >&2; cat "$run/gsmsim.log" >&2; exit 1; }
  sleep 0.1
done
[ -e "$GATEWAY_PORT_DIR/com2" ] || { echo "make run: gsmsim published no Com2" >&2; exit 1; }
echo "simulated modem (TC35) on Com2 -> $(readlink "$GATEWAY_PORT_DIR/com2"); its AT dialogue: $run/gsmsim.log"

# A message waits in the modem's store: the console logs it when it connects.
echo "sms +4930123456 Welcome to the simulated network" >&3

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x "$pelorin" ]; then
  cat >"$run/pelorin.ini" <<EOF
[Modem]
DeviceName=Com2
Device=TC35
UnsolicitedIndication=7
SMSFormat=0
[Modem.Files]
GSMLog=$run/gsm.log
SMSLog=$run/sms.log
EOF
  echo "starting the console (settings $run/pelorin.ini, logs in $run); close its window to end"
  "$pelorin" "-I:$run/pelorin.ini" -start
  exit 0
fi

if [ ! -x "$pelorin" ]; then
  echo "The console was not built (Qt 6 missing?): showing the command-line client instead."
else
  cat <<EOF
No display here, so the console window cannot open. To see it:
  - on a desktop, run 'make run' in a terminal of that desktop (or over 'ssh -X');
  - on a machine without one, run it on a virtual X display:  xvfb-run -a make run
    (the window is not seen there; it runs until Ctrl-C stops it).
Meanwhile, the command-line client drives the same simulated modem through the same control:
EOF
fi
[ -x "$gwautomate" ] || { echo "make run: $gwautomate is missing" >&2; exit 1; }

client=("$gwautomate" --port Com2 --model TC35)
show() {
  echo
  echo "\$ gwautomate $*"
  "${client[@]}" "$@"
}
show list all
show at AT+CSQ
show send "$own_number" "Hello from make run"
# The message sent to the modem's own number comes back; the monitor reports it and deletes it.
echo
echo "\$ gwautomate monitor --poll 2      (ends after 12 seconds)"
timeout --signal=INT 12 "${client[@]}" monitor --poll 2 || true
echo
echo "demo done; the modem's AT dialogue is in $run/gsmsim.log"
