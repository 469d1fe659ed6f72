# Sourced by ./test and ./run: a private Xvfb display and a fresh 32-bit Wine prefix under
# the build tree, both ended by process id when the caller exits (also on failure or Ctrl-C).
#
#   vindle_wine_start <build-dir> [<run-dir>]   sets DISPLAY, WINEPREFIX, HOME, WINEARCH...; the
#                                               prefix lives in <run-dir> (<build-dir>/wine-run)
#   vindle_wine_stop                            ends wineserver and Xvfb (also run by the trap)

VINDLE_XVFB_PID=""
VINDLE_WINE_STARTED=""

vindle_free_display() {
  local n
  for n in $(seq 90 140); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
      echo "$n"
      return 0
    fi
  done
  return 1
}

vindle_wine_start() {
  local build="$1"
  local run_dir="${2:-$build/wine-run}"
  # Exported: the e2e harness reads the display's size from it.
  export VINDLE_SCREEN="${VINDLE_SCREEN:-1280x1024x24}"
  local n
  n=$(vindle_free_display) || { echo "no free X display number" >&2; return 1; }
  Xvfb ":$n" -screen 0 "$VINDLE_SCREEN" -nolisten tcp -ac >/dev/null 2>&1 &
  VINDLE_XVFB_PID=$!
  export DISPLAY=":$n"
  local i
  for i in $(seq 1 100); do
    [ -e "/tmp/.X11-unix/X$n" ] && break
    sleep 0.05
  done

  export WINEARCH=win32 WINEDEBUG=-all
  export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
  export VINDLE_RUN_DIR="$run_dir"
  rm -rf "$VINDLE_RUN_DIR"
  mkdir -p "$VINDLE_RUN_DIR/home"
  # The prefix's user folders link into $HOME: keep both inside the build tree.
  export HOME="$VINDLE_RUN_DIR/home"
  export WINEPREFIX="$VINDLE_RUN_DIR/prefix"
  wineserver -p >/dev/null 2>&1
  VINDLE_WINE_STARTED=1
  wineboot -i >/dev/null 2>&1
  # Without a window manager, a window shown without activation loses its first drag when
  # the X11 driver remaps it: our programs run unmanaged. Only ours: Wine's own tray keeps
  # its mode whatever the timing of its start (unmanaged, it ignores right clicks on icons).
  local program
  for program in Vindle.exe VindleSetup.exe QorvelUninstall.exe ProbeWindow.exe vindle_win_tests.exe \
                 vindle_longrun_tests.exe ValueControlsHost.exe ColorBoxHost.exe ColorDialogHost.exe; do
    wine reg add "HKCU\\Software\\Wine\\AppDefaults\\$program\\X11 Driver" /v Managed /t REG_SZ /d N /f \
      >/dev/null 2>&1
  done
}

vindle_wine_stop() {
  if [ -n "$VINDLE_WINE_STARTED" ]; then
    wineserver -k >/dev/null 2>&1 || true
    VINDLE_WINE_STARTED=""
  fi
  if [ -n "$VINDLE_XVFB_PID" ]; then
    kill "$VINDLE_XVFB_PID" 2>/dev/null || true
    wait "$VINDLE_XVFB_PID" 2>/dev/null || true
    VINDLE_XVFB_PID=""
  fi
}
