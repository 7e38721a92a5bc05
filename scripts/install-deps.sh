#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the program need, only those missing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config git
  qt6-base-dev qt6-base-dev-tools qt6-declarative-dev qt6-svg-dev
  qml6-module-qtquick qml6-module-qtquick-window qml6-module-qtquick-layouts
  qml6-module-qtquick-templates qml6-module-qtquick-controls qml6-module-qtqml-workerscript
  qml6-module-qttest qt6-qpa-plugins qml6-module-qtqml qml6-module-qtqml-models
  libhidapi-dev libudev-dev libxcb-xinput-dev libxcb1-dev libglib2.0-dev libglib2.0-bin
  gsettings-desktop-schemas libkf5config-bin
  libgtest-dev libbenchmark-dev
  xvfb xauth xdotool x11-utils dbus openbox
  qt6-wayland weston xwayland
  clang python3
  fonts-wqy-microhei
  dpkg-dev file desktop-file-utils appstream
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing missing packages: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null 2>&1; then
  sudo=(sudo)
else
  echo "Not root and no sudo: please install ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq "${missing[@]}"
