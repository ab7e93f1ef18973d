# The state of a running simulation (scripts/sim): where it lives and how to run
# programs in it. Sourced after wine-env.sh; `root` is the checkout.
sim_build=${BUILD_DIR:-$root/build}
sim_bin=$sim_build/windows/bin
sim_dir=${SIM_DIR:-$sim_build/windows/sim}
sim_tremo=${TREMO_EXE:-$sim_bin/Tremo.exe}

# The environment every later command needs, kept beside the prefix.
sim_save_env() {
  {
    echo "export DISPLAY='$DISPLAY'"
    echo "export WINEPREFIX='$WINEPREFIX'"
    echo "export WINEDEBUG='$WINEDEBUG'"
    echo "export WINEDLLOVERRIDES='$WINEDLLOVERRIDES'"
    echo "export WINEARCH='$WINEARCH'"
  } >"$sim_dir/env"
}

sim_load_env() {
  if [ ! -f "$sim_dir/env" ]; then
    echo "scripts/sim: no simulation is running in $sim_dir (scripts/sim start)" >&2
    return 1
  fi
  # shellcheck disable=SC1091
  . "$sim_dir/env"
}

sim_ctl() {
  (cd "$sim_bin" && "$root/scripts/lib/wine-run" "$sim_bin/simctl.exe" "$@")
}

# Starts a Windows program that keeps running; its output goes to NAME.log.
sim_background() {
  local name=$1
  shift
  (cd "$sim_bin" && exec setsid wine "$@" </dev/null >"$sim_dir/$name.log" 2>&1) &
  echo $! >"$sim_dir/$name.pid"
}

sim_appdata() {
  local user
  user=$(ls "$WINEPREFIX/drive_c/users" | grep -v -x -e Public -e Default | head -n1)
  echo "$WINEPREFIX/drive_c/users/$user/AppData/Roaming"
}
