# Sourced by ./test, ./run and ./bench: installs the Debian packages the build and the tests
# need, once, when they are missing. Quiet and quick when everything is there.

VINDLE_PACKAGES="cmake make g++ g++-mingw-w64-i686 wine wine32 xvfb xdotool imagemagick
  googletest libgtest-dev libbenchmark-dev python3 python3-yaml clang libclang-rt-14-dev libexpat1-dev x11-utils
  clang-tidy clang-format"

vindle_missing_packages() {
  local p missing=""
  for p in $VINDLE_PACKAGES; do
    local arch_p="$p"
    [ "$p" = wine32 ] && arch_p="wine32:i386"
    if ! dpkg-query -W -f='${Status}' "$arch_p" 2>/dev/null | grep -q "install ok installed"; then
      missing="$missing $arch_p"
    fi
  done
  echo "$missing"
}

vindle_ensure_packages() {
  local missing
  missing=$(vindle_missing_packages)
  [ -z "$missing" ] && return 0
  if [ "$(id -u)" != 0 ]; then
    echo "Missing packages:$missing" >&2
    echo "Run this script as root once, or install them with apt-get." >&2
    return 1
  fi
  echo "Installing:$missing"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq >/dev/null || { echo "apt-get update failed" >&2; return 1; }
  # shellcheck disable=SC2086
  apt-get install -y -qq --no-install-recommends $missing >/dev/null ||
    apt-get install -y -qq $missing >/dev/null ||
    { echo "apt-get install failed for:$missing" >&2; return 1; }
}
