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

# A fresh prefix for every start (devices persist in a prefix), copied from a pristine
# one that is made once per build folder: a new prefix takes 10-20 s, a copy a second.
# The system folders (nine tenths of the size, never written in place) are hard links.
sim_fresh_prefix() {
  local template=$sim_build/windows/sim-template
  mkdir -p "$template"
  (
    flock 9
    if [ ! -f "$template/prefix/.tremo-ready" ]; then
      WINEPREFIX=$template/prefix
      wine_env_prefix "$template/prefix" >/dev/null 2>&1
      wineserver -k >/dev/null 2>&1 || true
      wineserver -w >/dev/null 2>&1 || true
    fi
  ) 9>"$template/lock"
  rm -rf "$sim_dir/prefix"
  mkdir -p "$sim_dir/prefix"
  (cd "$template/prefix" && tar -c --exclude=./drive_c/windows/system32 --exclude=./drive_c/windows/winsxs .) |
    (cd "$sim_dir/prefix" && tar -x) || return 1
  local shared
  for shared in system32 winsxs; do
    cp -al "$template/prefix/drive_c/windows/$shared" "$sim_dir/prefix/drive_c/windows/$shared" || return 1
  done
  wine_env_prefix "$sim_dir/prefix"
}
