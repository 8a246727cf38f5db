# Shared by the run, test and wine-run scripts: a Wine prefix per screen DPI inside the build tree,
# a persistent wineserver, and an Xvfb display when none is given.

export WINEDEBUG=${WINEDEBUG:--all}
export WINEARCH=win64

# d2pie_prefix BUILD_DIR DPI: the prefix folder for that DPI.
d2pie_prefix() { echo "$1/wine-$2"; }

# d2pie_ensure_prefix BUILD_DIR DPI: creates the prefix once (under a lock, since tests run in
# parallel), sets its screen DPI, and keeps its wineserver running.
d2pie_ensure_prefix() {
  local prefix
  prefix=$(d2pie_prefix "$1" "$2")
  mkdir -p "$1"
  (
    flock 9
    if [ ! -f "$prefix/.d2pie-ready-2" ]; then
      if [ -d "$prefix" ]; then WINEPREFIX=$prefix wineserver-stable -k >/dev/null 2>&1 || true; fi
      rm -rf "$prefix"
      # No Mono or Gecko: nothing here needs them and there is no network to fetch them.
      WINEPREFIX=$prefix WINEDLLOVERRIDES="mscoree,mshtml=" wine-stable wineboot -i >/dev/null 2>&1 || true
      WINEPREFIX=$prefix wine-stable reg add 'HKCU\Control Panel\Desktop' /v LogPixels \
        /t REG_DWORD /d "$2" /f >/dev/null 2>&1
      # Xvfb has no window manager: a managed window would wait 2 s for one on every hide.
      WINEPREFIX=$prefix wine-stable reg add 'HKCU\Software\Wine\X11 Driver' /v Managed \
        /t REG_SZ /d N /f >/dev/null 2>&1
      WINEPREFIX=$prefix wineserver-stable -w
      touch "$prefix/.d2pie-ready-2"
    fi
  ) 9>"$prefix.lock"
  WINEPREFIX=$prefix wineserver-stable -p >/dev/null 2>&1 </dev/null || true
}

# d2pie_stop_wine BUILD_DIR: ends the wineservers (and every Wine process) of all prefixes.
d2pie_stop_wine() {
  local p
  for p in "$1"/wine-*/; do
    [ -f "$p/.d2pie-ready-2" ] && WINEPREFIX=${p%/} wineserver-stable -k >/dev/null 2>&1 || true
  done
}

# d2pie_start_display: starts Xvfb on a free display when DISPLAY is unset; sets D2PIE_XVFB_PID.
d2pie_start_display() {
  D2PIE_XVFB_PID=
  # A DISPLAY that names no reachable server counts as none.
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  unset DISPLAY
  local fdfile
  fdfile=$(mktemp)
  # Output goes to /dev/null: a display that held our stdout open would keep CI waiting.
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 </dev/null &
  D2PIE_XVFB_PID=$!
  local i
  for i in $(seq 200); do
    [ -s "$fdfile" ] && break
    sleep 0.05
  done
  if [ ! -s "$fdfile" ]; then
    echo "wine-env: Xvfb did not start within 10 s" >&2
    rm -f "$fdfile"
    d2pie_stop_display
    return 1
  fi
  export DISPLAY=":$(tr -d '[:space:]' <"$fdfile")"
  rm -f "$fdfile"
}

d2pie_stop_display() {
  if [ -n "${D2PIE_XVFB_PID:-}" ]; then
    kill "$D2PIE_XVFB_PID" 2>/dev/null || true
    wait "$D2PIE_XVFB_PID" 2>/dev/null || true
    D2PIE_XVFB_PID=
  fi
}

# d2pie_keep_desktop BUILD_DIR DPI: starts the desktop keeper (helpers/desktop_keeper.cpp)
# in that DPI's prefix and waits until it holds the desktop; its process id joins
# D2PIE_KEEPER_PIDS. Wine would otherwise close a prefix's desktop one second after each test
# program and start it again with the next, and a program that starts meanwhile makes no window.
D2PIE_KEEPER_PIDS=
d2pie_keep_desktop() {
  local build dpi=$2 ready pid i
  build=$(cd "$1" && pwd)
  ready="$build/desktop-keeper-$dpi.ready"
  rm -f "$ready"
  WINEPREFIX=$(d2pie_prefix "$build" "$dpi") wine-stable "$build/bin/desktop_keeper.exe" \
    "Z:${ready//\//\\}" >/dev/null 2>&1 </dev/null &
  pid=$!
  D2PIE_KEEPER_PIDS="$D2PIE_KEEPER_PIDS $pid"
  for i in $(seq 1200); do
    [ -s "$ready" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
  done
  if [ "$(cat "$ready" 2>/dev/null)" != ready ]; then
    echo "wine-env: the desktop keeper of the $dpi-DPI prefix did not start:" \
      "$(cat "$ready" 2>/dev/null || echo 'no answer within 60 s')" >&2
    return 1
  fi
}

d2pie_stop_keepers() {
  local pid
  for pid in $D2PIE_KEEPER_PIDS; do kill "$pid" 2>/dev/null || true; done
  for pid in $D2PIE_KEEPER_PIDS; do wait "$pid" 2>/dev/null || true; done
  D2PIE_KEEPER_PIDS=
}

# d2pie_configure_and_build ROOT BUILD_DIR [TARGET...]: the cross-build, of everything or of the
# targets named.
d2pie_configure_and_build() {
  local root=$1 build=$2
  shift 2
  if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
  fi
  local targets=()
  [ $# -gt 0 ] && targets=(--target "$@")
  cmake --build "$build" -j "$(nproc)" "${targets[@]}"
}
