#!/usr/bin/env bash
# Installs the Debian packages that a group of tasks needs, when any is missing.
#   install-deps.sh build     compiler tool chain, GoogleTest, Google Benchmark, OpenGL, GLU, GLUT
#   install-deps.sh display   virtual display, key sender and screen capture (window tests, demo)
#   install-deps.sh fuzz      clang with libFuzzer
#   install-deps.sh format    clang-format
set -euo pipefail

packages=()
for group in "$@"; do
  case "$group" in
    build) packages+=(cmake g++ make libgtest-dev libbenchmark-dev freeglut3-dev libglu1-mesa-dev) ;;
    display) packages+=(xvfb xauth xdotool x11-apps x11-utils netpbm) ;;
    fuzz) packages+=(clang libclang-rt-14-dev) ;;
    format) packages+=(clang-format) ;;
    *) echo "install-deps.sh: unknown group '$group' (build, display, fuzz, format)" >&2; exit 2 ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "missing packages; install them with:" >&2
  echo "  sudo apt-get update && sudo apt-get install -y ${missing[*]}" >&2
  exit 1
fi
echo "installing ${missing[*]}"
apt-get update -qq
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
