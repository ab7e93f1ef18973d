#!/usr/bin/env bash
# Runs the HID path test in a simulation of its own: a fresh prefix with the keyboard
# plugged in and no Tremo, since the devices persist in a prefix and Tremo would
# compete for the keyboard's reports.
#   hid_path_test.sh SOURCE_DIR WINDOWS_BUILD_DIR
set -u
root=$1
windows=$2
export BUILD_DIR
BUILD_DIR=$(dirname "$windows")
export SIM_DIR="$windows/sim-hid-path-test"
if ! "$root/scripts/sim" start --no-tremo; then
  "$root/scripts/sim" stop
  exit 1
fi
"$root/scripts/sim" exec "$windows/bin/simkbd_hid_path_test.exe"
rc=$?
"$root/scripts/sim" stop
exit $rc
