#!/usr/bin/env bash
# Benchmarks of Tremo.exe under Wine with the simulated keyboard: idle CPU time with
# four linked profiles, the cost of one foreground check beside the walk over every
# process, and the latency from a linked program coming to the foreground to the
# service's profile switch. Needs a Windows build ($BUILD_DIR/windows, default build/).
#   IDLE_SECONDS  length of the idle measurement (default 60)
set -euo pipefail
root=$(cd "$(dirname "$0")/../../.." && pwd)
export BUILD_DIR=${BUILD_DIR:-$root/build}
export SIM_DIR=${SIM_DIR:-$BUILD_DIR/windows/bench-sim}
bin=$BUILD_DIR/windows/bin
sim=$root/scripts/sim
idle=${IDLE_SECONDS:-60}
out=$BUILD_DIR/windows/service-bench.txt
trap '"$sim" stop >/dev/null 2>&1 || true' EXIT

# The processes of this simulation only (other prefixes may run beside it).
in_prefix() {
  local pid
  for pid in $(pgrep -f "$1"); do
    if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$SIM_DIR/prefix"; then
      echo "$pid"
      return 0
    fi
  done
  return 1
}
server_of_prefix() { # wineserver runs in a folder server-DEV-INODE named after its prefix
  local name pid
  name=$(printf 'server-%x-%x' "$(stat -c %d "$SIM_DIR/prefix")" "$(stat -c %i "$SIM_DIR/prefix")")
  for pid in $(pgrep wineserver); do
    [ "$(basename "$(readlink "/proc/$pid/cwd")")" = "$name" ] && { echo "$pid"; return 0; }
  done
  return 1
}

ticks() { # utime + stime of a Linux process, in clock ticks
  awk '{ print $14 + $15 }' "/proc/$1/stat"
}

"$sim" stop >/dev/null 2>&1 || true
"$sim" start >/dev/null
{
  echo "# Tremo service benchmarks ($(date -u +%F), Wine $(wine --version 2>/dev/null))"
  "$sim" exec "$bin/tremo_bench.exe" idle-link
  tremo=$(in_prefix 'Tremo\.exe')
  server=$(server_of_prefix)
  hz=$(getconf CLK_TCK)
  sleep 2
  t0=$(ticks "$tremo"); s0=$(ticks "$server")
  sleep "$idle"
  t1=$(ticks "$tremo"); s1=$(ticks "$server")
  awk -v t=$((t1 - t0)) -v s=$((s1 - s0)) -v hz="$hz" -v secs="$idle" 'BEGIN {
    printf "idle, keyboard present, four linked profiles, %d s: Tremo %.2f s CPU, wineserver %.2f s CPU\n", secs, t / hz, s / hz
    printf "per hour: Tremo %.1f s CPU, wineserver %.1f s CPU (whole server, all processes)\n", t / hz * 3600 / secs, s / hz * 3600 / secs
  }'
  "$sim" exec "$bin/tremo_bench.exe" checks 2000 0 20 200
  "$sim" exec "$bin/tremo_bench.exe" latency 20
} | tee "$out"
