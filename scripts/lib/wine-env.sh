# Shared by the run, test and wine-run scripts: a Wine prefix per screen DPI inside the build tree,
# and an Xvfb display when none is given.

export WINEDEBUG=${WINEDEBUG:--all}
export WINEARCH=win64

# d2pie_prefix BUILD_DIR DPI: the prefix folder for that DPI.
d2pie_prefix() { echo "$1/wine-$2"; }

# d2pie_ensure_prefix BUILD_DIR DPI: creates the prefix once (under a lock, since tests run in
# parallel) and sets its screen DPI. Its wineserver is not made persistent: it ends with the last
# program of the prefix (a test session's desktop keeper holds it for the session), so a lone
# scripts/wine-run leaves no Wine behind.
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
}

# d2pie_standin BUILD_DIR: the Direct2D stand-in that the build makes, in a folder of its own.
d2pie_standin() { echo "$1/standin/d2d1.dll"; }

# d2pie_use_standin BUILD_DIR PREFIX: puts Wine onto the build's Direct2D stand-in for every
# program of that prefix, the programs they start included: the prefix's system folder links to
# it, and WINEDLLOVERRIDES has Wine prefer a native d2d1.dll to its own. (Wine looks in a program's
# folder, then in the system folder, where its own d2d1.dll lies; PATH comes after and is never
# reached.) A link, not a copy, so a rebuilt stand-in is the one used; Wine's own file is kept
# beside it. When the build has no stand-in, Wine's own file goes back (Wine 8 finds no d2d1.dll at
# all where the system folder holds none, or a broken link) and this fails.
d2pie_use_standin() {
  local standin link
  standin=$(d2pie_standin "$(cd "$1" && pwd)")
  link=$2/drive_c/windows/system32/d2d1.dll
  if [ ! -f "$standin" ]; then
    if [ -L "$link" ] && [ -f "$link.wine" ]; then mv -fT "$link.wine" "$link"; fi
    return 1
  fi
  if [ "$(readlink "$link" 2>/dev/null)" != "$standin" ]; then
    if [ -f "$link" ] && [ ! -L "$link" ]; then cp -p "$link" "$link.wine"; fi
    # Renamed into place: a program of the prefix that starts meanwhile finds one or the other.
    ln -sfn "$standin" "$link.$$"
    mv -fT "$link.$$" "$link"
  fi
  export WINEDLLOVERRIDES="d2d1=n,b${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
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

# d2pie_keep_desktop BUILD_DIR DPI: starts the desktop keeper (helpers/desktop_keeper.cpp) in that
# DPI's prefix, waits until it holds the desktop and prints its process id. Wine would otherwise
# close a prefix's desktop one second after each program and start it again with the next, and a
# program that starts meanwhile makes no window.
d2pie_keep_desktop() {
  local build dpi=$2 ready pid i
  build=$(cd "$1" && pwd)
  ready="$build/desktop-keeper-$dpi.ready"
  rm -f "$ready"
  WINEPREFIX=$(d2pie_prefix "$build" "$dpi") wine-stable "$build/bin/desktop_keeper.exe" \
    "Z:${ready//\//\\}" >/dev/null 2>&1 </dev/null &
  pid=$!
  for i in $(seq 1200); do
    [ -s "$ready" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
  done
  if [ "$(cat "$ready" 2>/dev/null)" != ready ]; then
    echo "wine-env: the desktop keeper of the $dpi-DPI prefix did not start:" \
      "$(cat "$ready" 2>/dev/null || echo 'no answer within 60 s')" >&2
    kill "$pid" 2>/dev/null || true
    return 1
  fi
  echo "$pid"
}

# d2pie_wait_for_window PID: prints the X window of the program once it shows (at most 60 s), while
# PID runs. A program of the same prefix that starts before that window's desktop is up may find
# the screen black.
d2pie_wait_for_window() {
  local window
  for _ in $(seq 300); do
    window=$(xdotool search --name '^D2 Pie: ' 2>/dev/null | head -n 1 || true)
    if [ -n "$window" ]; then
      echo "$window"
      return 0
    fi
    kill -0 "$1" 2>/dev/null || return 1
    sleep 0.2
  done
  return 1
}

# The test session: what CTest's first test starts for the Wine tests and its last one stops (see
# scripts/wine-session), written to BUILD_DIR/wine-session so that scripts/wine-run finds the
# display.
d2pie_session_file() { echo "$1/wine-session"; }

# d2pie_session_display BUILD_DIR: the display of a running session, if its server answers.
d2pie_session_display() {
  local file display
  file=$(d2pie_session_file "$1")
  [ -f "$file" ] || return 1
  display=$(sed -n 's/^display=//p' "$file")
  [ -n "$display" ] && DISPLAY=$display xdpyinfo >/dev/null 2>&1 && echo "$display"
}

# d2pie_configure ROOT: configures ROOT/build with the wine preset. A build folder that another
# configuration made (another toolchain, generator or source folder) is not reused: building on it
# would give programs that this project's scripts do not run as intended.
d2pie_configure() {
  local root=$1 cache=$1/build/CMakeCache.txt problem= before after name log
  if [ -f "$cache" ]; then
    local toolchain home generator
    toolchain=$(sed -n 's/^CMAKE_TOOLCHAIN_FILE:[A-Z]*=//p' "$cache")
    home=$(sed -n 's/^CMAKE_HOME_DIRECTORY:INTERNAL=//p' "$cache")
    generator=$(sed -n 's/^CMAKE_GENERATOR:INTERNAL=//p' "$cache")
    if [ "$home" != "$root" ]; then
      problem="for the sources in ${home:-an unknown folder}"
    elif [ "$toolchain" != "$root/cmake/mingw-w64-x86_64.cmake" ]; then
      problem="with the toolchain ${toolchain:-of the host}, not cmake/mingw-w64-x86_64.cmake"
    elif [ "$generator" != "Unix Makefiles" ]; then
      problem="with the generator $generator"
    fi
    if [ -n "$problem" ]; then
      echo "$(basename "$0"): $root/build was configured $problem, not by the wine preset;" \
        "it is not reused. Remove it (rm -rf build) and run this command again." >&2
      return 1
    fi
    before=$(grep -E '^(CMAKE_BUILD_TYPE|D2PIE_[A-Z0-9_]+):' "$cache" | sort)
  fi
  log=$(mktemp)
  if ! (cd "$root" && cmake --preset wine) >"$log" 2>&1; then
    cat "$log" >&2
    rm -f "$log"
    return 1
  fi
  rm -f "$log"
  if [ -n "${before:-}" ]; then
    after=$(grep -E '^(CMAKE_BUILD_TYPE|D2PIE_[A-Z0-9_]+):' "$cache" | sort)
    for name in $(comm -23 <(echo "$before") <(echo "$after") | cut -d: -f1); do
      echo "$(basename "$0"): build/ had $(grep "^$name:" <<<"$before" | sed 's/:[A-Z]*=/=/');" \
        "the wine preset sets $(grep "^$name:" "$cache" | sed 's/:[A-Z]*=/=/')" >&2
    done
  fi
}

# d2pie_build ROOT [TARGET...]: the wine preset's build, of everything or of the targets named.
d2pie_build() {
  local root=$1
  shift
  local targets=()
  [ $# -gt 0 ] && targets=(--target "$@")
  (cd "$root" && cmake --build --preset wine "${targets[@]}")
}
