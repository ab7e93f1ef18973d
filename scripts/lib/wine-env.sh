# Shared by scripts/test, scripts/sim and scripts/run: a private X display and a
# private Wine prefix with a persistent wine server. Source it, then call
# wine_env_start PREFIX_DIR and, at the end, wine_env_stop.

wine_env_common() {
  export WINEDEBUG="${WINEDEBUG:--all}"
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  export WINEARCH=win64
}

# Starts Xvfb on a free display unless DISPLAY already works (or WINE_ENV_OWN_DISPLAY=1).
wine_env_display() {
  local dir=$1
  if [ -n "${DISPLAY:-}" ] && [ "${WINE_ENV_OWN_DISPLAY:-0}" != 1 ] && xdpyinfo >/dev/null 2>&1; then
    return 0
  fi
  mkdir -p "$dir"
  rm -f "$dir/display"
  Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp 5>"$dir/display" >/dev/null 2>&1 &
  echo $! >"$dir/xvfb.pid"
  local i
  for i in $(seq 1 100); do
    [ -s "$dir/display" ] && break
    sleep 0.05
  done
  [ -s "$dir/display" ] || { echo "wine-env: Xvfb did not start" >&2; return 1; }
  export DISPLAY=":$(head -n1 "$dir/display")"
}

# Creates the prefix on first use: no first-run dialogs, no crash dialog, unmanaged windows.
wine_env_prefix() {
  export WINEPREFIX=$1
  if [ ! -f "$WINEPREFIX/.tremo-ready" ]; then
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    timeout 180 wineboot -i </dev/null >/dev/null 2>&1 || true
    timeout 60 wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f </dev/null >/dev/null 2>&1
    timeout 60 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f </dev/null >/dev/null 2>&1
    timeout 60 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f </dev/null >/dev/null 2>&1
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
    touch "$WINEPREFIX/.tremo-ready"
  fi
  # A persistent server: programs start in milliseconds and helpers hold no pipes open.
  wineserver -p >/dev/null 2>&1 </dev/null
  # The first program starts Wine's own services (explorer, services, plugplay); start
  # them here with nothing inherited, or they would hold the test runner's pipes open.
  timeout 120 wine cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
}

wine_env_start() {
  local prefix=$1
  wine_env_common
  wine_env_display "$(dirname "$prefix")/x11" || return 1
  wine_env_prefix "$prefix"
}

wine_env_stop() {
  local dir
  dir="$(dirname "$WINEPREFIX")/x11"
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  if [ -f "$dir/xvfb.pid" ]; then
    kill "$(cat "$dir/xvfb.pid")" >/dev/null 2>&1 || true
    rm -f "$dir/xvfb.pid"
  fi
}
