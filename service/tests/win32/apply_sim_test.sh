#!/usr/bin/env bash
# Runs the apply test in a simulation of its own: the keyboard plugged in, no Tremo
# to compete for its reports.
#   apply_sim_test.sh SOURCE_DIR WINDOWS_BUILD_DIR
set -u
root=$1
windows=$2
export BUILD_DIR
BUILD_DIR=$(dirname "$windows")
export SIM_DIR="$windows/sim-apply-test"
if ! "$root/scripts/sim" start --no-tremo; then
  "$root/scripts/sim" stop
  exit 1
fi
"$root/scripts/sim" exec "$windows/bin/service_apply_sim_test.exe"
rc=$?
"$root/scripts/sim" stop
exit $rc
