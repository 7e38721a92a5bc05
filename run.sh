#!/usr/bin/env bash
# Installs what is missing, builds, and starts kestral-config from the build folder with the virtual
# mouse attached. Without a display it runs the program under Xvfb and saves a picture of the window.
set -euo pipefail
cd "$(dirname "$0")"
root=$(pwd)

scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target kestral-config kc_virtual_mouse kc-screenshot installation_data

run_dir=$(mktemp -d /tmp/kestral-config-run.XXXXXX)
export VIRTUAL_MOUSE_TRANSCRIPT=$run_dir/transcript.jsonl
export VIRTUAL_MOUSE_STATE=$run_dir/state.json
export VIRTUAL_MOUSE_CONTROL=$run_dir/control
export KC_VIRTUAL_MOUSE_LIB=$root/build/lib/libkc_virtual_mouse.so

cat <<INFO
kestral-config runs with the virtual mouse attached.
  transcript of every HID call:  $VIRTUAL_MOUSE_TRANSCRIPT
  the mouse's memory (JSON):     $VIRTUAL_MOUSE_STATE
  press the mouse's DPI button:  echo "dpi 3" > $VIRTUAL_MOUSE_CONTROL
  unplug it, plug it in again:   echo unplug > $VIRTUAL_MOUSE_CONTROL; echo plug > $VIRTUAL_MOUSE_CONTROL
  commands in another terminal:  VIRTUAL_MOUSE_STATE=$VIRTUAL_MOUSE_STATE tools/with-virtual-mouse build/bin/kestral-config state
  quit: the tray menu's "Quit (&Q)", or Ctrl+C here
INFO

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec tools/with-virtual-mouse build/bin/kestral-config
fi

shot=$run_dir/window.png
echo "No display: running under Xvfb for a few seconds and saving a picture of the window to $shot"
export KC_SHOT=$shot
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
    tools/with-virtual-mouse build/bin/kestral-config &
    pid=$!
    sleep 4
    echo "dpi 2" > "$VIRTUAL_MOUSE_CONTROL"
    sleep 1
    build/bin/kc-screenshot "$KC_SHOT"
    kill -TERM "$pid"
    wait "$pid"
'
echo "Saved $shot"
