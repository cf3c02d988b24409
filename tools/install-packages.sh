#!/usr/bin/env bash
# Installs the Debian packages that building and testing Sekreta need, when they are missing.
# Runs apt-get directly as root, through sudo otherwise.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  libgtest-dev libgmock-dev
  libbenchmark-dev libcrypto++-dev time  # the benchmarks, Crypto++'s RC5 beside ours, GNU time for ./benchmark
  libcli11-dev nlohmann-json3-dev
  # The desktop program: Qt Widgets and SVG, its display plugins (the offscreen one runs its tests),
  # a font to draw with, and OpenGL's headers that Qt's CMake files look for.
  qt6-base-dev qt6-svg-dev qt6-qpa-plugins fonts-dejavu-core libgl-dev
  qt6-wayland  # the program runs on a Wayland compositor directly, not through XWayland
)
if [ "${1:-}" = "test" ] || [ "${1:-}" = "screenshots" ]; then
  # The walk through the desktop program under a virtual display: typing, and the clipboard;
  # a window manager, and xprop to ask it what state a window is in; and gdb's gcore for the
  # memory images that tools/secret-traces.sh searches.
  packages+=(xvfb xdotool xclip openbox x11-utils gdb)
fi
if [ "${1:-}" = "screenshots" ]; then
  packages+=(imagemagick)
fi
if [ "${1:-}" = "test" ]; then
  # The short fuzzing run of ./test needs clang's libFuzzer.
  packages+=(clang libclang-rt-14-dev)
  # The desktop integration tests ask the freedesktop tools themselves (xdg-mime answers through
  # gio); the install test checks the icon pictures that rsvg-convert renders.
  packages+=(xdg-utils shared-mime-info desktop-file-utils libglib2.0-bin librsvg2-bin)
fi

if [ "${1:-}" = "test" ] || [ "${1:-}" = "package" ]; then
  # The Debian package (tools/package.sh): dpkg-shlibdeps finds its dependencies, file its programs.
  packages+=(dpkg-dev file)
fi
if [ "${1:-}" = "test" ]; then
  # The package check and the walk on Wayland: lintian and appstreamcli judge the package,
  # weston is the compositor, wl-clipboard reads its clipboard.
  packages+=(lintian appstream weston wl-clipboard)
fi

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
if [ "$(id -u)" -ne 0 ]; then
  sudo=(sudo)
fi
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -q
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
