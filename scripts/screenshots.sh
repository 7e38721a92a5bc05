#!/usr/bin/env bash
# Pictures of the main window and of each page and dialog opened, in English and in Chinese, taken on
# a private Xvfb with the virtual mouse attached and real clicks from xdotool.
#   scripts/screenshots.sh [--docs] [FOLDER]     (FOLDER defaults to build/pictures)
#   --docs   also saves the English main window as docs/window.png and the README's tour pictures
#            as docs/tour-*.png
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

docs=0
out=build/pictures
for arg in "$@"; do
    case $arg in
    --docs) docs=1 ;;
    -h | --help)
        sed -n '2,6p' "$0"
        exit 0
        ;;
    *) out=$arg ;;
    esac
done
mkdir -p "$out"
out=$(cd "$out" && pwd)

for tool in Xvfb xdotool; do
    command -v "$tool" >/dev/null || {
        echo "$0: $tool is missing (scripts/install-deps.sh installs it)" >&2
        exit 1
    }
done

# Several people may build in the same folder: builds take turns through one lock.
[ -f build/CMakeCache.txt ] || flock /tmp/kc-build.lock cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
flock /tmp/kc-build.lock cmake --build build -j2 --target kestral-config kc_virtual_mouse kc-screenshot \
    installation_data kc_scene_probe kc-scene-ask >/dev/null

bin=$root/build/bin
ask_tool=$bin/kc-scene-ask
work=$(mktemp -d /tmp/kc-pictures.XXXXXX)
xvfb_pid=
app_pid=
cleanup() {
    [ -n "$app_pid" ] && kill -TERM "$app_pid" 2>/dev/null && wait "$app_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill -TERM "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# A private X server; it picks a free display number itself.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 200); do
    [ -s "$work/display" ] && break
    sleep 0.05
done
[ -s "$work/display" ] || {
    echo "$0: Xvfb did not start" >&2
    exit 1
}
export DISPLAY=:$(head -n1 "$work/display")
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR=$work/runtime

ask() { "$ask_tool" "$sock" "$@"; }

# Polls a scene expression until it is true (60 s at most).
wait_for() {
    local path=$1 expr=$2
    for _ in $(seq 1200); do
        [ "$(ask eval "$path" "$expr" 2>/dev/null || true)" = true ] && return 0
        sleep 0.05
    done
    echo "$0: gave up waiting for $path: $expr" >&2
    return 1
}

# Whether the scene has the item (pages that are not there yet are left out, with a note).
has() {
    ask rect "$1" >/dev/null 2>&1 && return 0
    echo "no $1 in the scene: its picture is left out" >&2
    return 1
}

click_item() {
    local x y w h
    read -r x y w h < <(ask rect "$1")
    xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 1
}

# Moves the pointer off the window so that nothing shows its hover colour, waits until the scene has
# drawn its last frame, and saves the window's part of the screen.
shot() {
    local file=$out/$1.png x y w h
    [ "${2:-}" = keep-pointer ] || xdotool mousemove 1279 799
    ask settle >/dev/null
    "$bin/kc-screenshot" "$file"
    read -r x y w h < <(ask rect .)
    "$ask_tool" --crop "$file" "$x" "$y" "$w" "$h"
    echo "$file"
}

# Sets one key of an INI file's group, in place.
set_ini() {
    local file=$1 group=$2 key=$3 value=$4
    awk -v g="[$group]" -v k="$key" -v v="$value" '
        /^\[/ { if (in_group && !done) { print k "=" v; done = 1 } in_group = ($0 == g) }
        in_group && index($0, k "=") == 1 { if (!done) print k "=" v; done = 1; next }
        { print }
        END { if (!done) { if (!in_group) print g; print k "=" v } }' "$file" >"$file.new"
    mv "$file.new" "$file"
}

# --- The assignment dialog and the macro editor ---

# Clicks entry `index` of an open drop-down list (its rows lie below the field, one field high).
click_row() {
    local x y w h
    read -r x y w h < <(ask rect "$1")
    xdotool mousemove $((x + w / 2)) $((y + h * ($2 + 1) + h / 2)) click 1
}

# Chooses a kind in the assignment dialog; the controls shown are that kind's.
assign_kind() {
    click_item "keyAssigmentMain/kind$1"
    wait_for keyAssigmentMain "viewKind === $1"
}

# The macro editor with a macro recorded from typed keys with their delays (more steps than the list
# shows, so it scrolls), and its step menu.
macro_pictures() {
    local tag=$1 x y w h
    has macroEditorMain/newButton || return 0
    click_item macroEditorBtn
    wait_for macroEditorMain visible
    click_item macroEditorMain/newButton
    wait_for macroEditorMain canEdit
    click_item macroEditorMain/delayRecord
    wait_for macroEditorMain delayRecord.checked
    click_item macroEditorMain/recordButton
    wait_for macroEditorMain isInputting
    xdotool type --delay 120 'Fire 1'
    # Recorded up to the release of the last key (the request is one line).
    wait_for macroEditorMain "stepModel.count > 0 && stepModel.get(stepModel.count - 1).info === '1'"
    wait_for macroEditorMain "stepModel.get(stepModel.count - 1).type === 2"
    click_item macroEditorMain/recordButton
    wait_for macroEditorMain '!isInputting'
    shot "$tag-macro-recorded"

    # Delete asks first, naming the macro.
    click_item macroEditorMain/deleteButton
    wait_for macroEditorMain/deleteAsk isOpen
    shot "$tag-macro-delete"
    click_item macroEditorMain/deleteAskAnswer1
    wait_for macroEditorMain/deleteAsk '!isOpen'

    # The step menu of the second row shown.
    read -r x y w h < <(ask rect macroEditorMain/stepView)
    xdotool mousemove $((x + 80)) $((y + 36)) click 3
    wait_for macroEditorMain/stepMenu visible
    shot "$tag-macro-step-menu"
    # A press on the editor's title strip closes the menu.
    read -r x y < <(ask point macroEditorMain 0.5 0.04)
    xdotool mousemove "$x" "$y" click 1
    wait_for macroEditorMain/stepMenu '!visible'
    click_item macroEditorMain/closeButton
    wait_for . '!macroEditorMain.visible && !mainMask.visible'
}

# The assignment dialog of button 3 with each of the nine kinds chosen: a choice made in each, the
# lists and the fire rate's slider open. The button goes back to its default and is saved, so later
# pictures show nothing unsaved.
assignment_pictures() {
    local tag=$1
    has keyAssigmentMain/kind0 || return 0
    click_item keyMatrixMain/keyRow2
    wait_for keyAssigmentMain visible

    assign_kind 0
    click_item keyAssigmentMain/mouse1
    wait_for keyAssigmentMain 'keyCode0 === 0 && keyCode2 === 0xf2'
    shot "$tag-assign-0-mouse"
    # The picture-only buttons name what they do under the pointer.
    local x y w h
    read -r x y w h < <(ask rect keyAssigmentMain/resetButton)
    xdotool mousemove $((x + w / 2)) $((y + h / 2))
    sleep 1
    shot "$tag-assign-tip" keep-pointer

    assign_kind 1
    click_item keyAssigmentMain/fireField
    wait_for keyAssigmentMain 'captureIndex === 0'
    xdotool key b
    wait_for keyAssigmentMain 'keyCode0 === 1 && keyCode1 === 0x05'
    click_item keyAssigmentMain/rateDrop
    wait_for keyAssigmentMain/rateDrop isOpen
    shot "$tag-assign-1-fire"

    assign_kind 2
    click_item keyAssigmentMain/comboField
    wait_for keyAssigmentMain 'captureIndex === 1'
    xdotool key ctrl+shift+a
    wait_for keyAssigmentMain 'comboState.key1 === 0x04'
    click_item keyAssigmentMain/comboOk
    wait_for keyAssigmentMain 'keyCode0 === 2'
    shot "$tag-assign-2-combination"

    local kind list
    for kind in 3:mediaDrop 6:windowsDrop 7:shortcutDrop 4:macroList; do
        list=${kind#*:}
        kind=${kind%%:*}
        assign_kind "$kind"
        click_item "keyAssigmentMain/$list"
        wait_for "keyAssigmentMain/$list" isOpen
        click_row "keyAssigmentMain/$list" 0
        wait_for keyAssigmentMain "keyCode0 === $kind"
        # The macro's run modes are the picture; the other lists are shown open.
        if [ "$kind" != 4 ]; then
            click_item "keyAssigmentMain/$list"
            wait_for "keyAssigmentMain/$list" isOpen
        fi
        case $kind in
        3) shot "$tag-assign-3-media" ;;
        4) shot "$tag-assign-4-macro" ;;
        6) shot "$tag-assign-6-windows" ;;
        7) shot "$tag-assign-7-shortcut" ;;
        esac
        if [ "$kind" != 4 ]; then
            click_item "keyAssigmentMain/$list"
            wait_for "keyAssigmentMain/$list" '!isOpen'
        fi
    done

    assign_kind 5
    click_item keyAssigmentMain/dpi3
    wait_for keyAssigmentMain 'keyCode0 === 5 && keyCode2 === 4'
    shot "$tag-assign-5-dpi"

    if [ "$(ask eval . isGun)" = true ]; then
        assign_kind 8
        click_item keyAssigmentMain/gun1
        wait_for keyAssigmentMain 'keyCode0 === 8 && keyCode2 === 2'
        shot "$tag-assign-8-gun"
    fi

    click_item keyAssigmentMain/resetButton
    click_item keyAssigmentMain/closeButton
    wait_for . '!keyAssigmentMain.visible && !mainMask.visible'
    if [ "$(ask eval saveBtn unsaved)" = true ]; then
        click_item saveBtn
        wait_for saveBtn '!unsaved'
    fi
}

# The gun editor with a preset chosen and its rate drop-down open; the profile dialog with a few
# profiles and an entry's context menu open.
gun_and_profile_pictures() {
    local tag=$1 x y w h
    if has gunControlMain/rateList; then
        click_item gunEditorBtn
        wait_for gunControlMain visible
        click_item gunControlMain/gunNumber_lv/preset3
        wait_for gunControlMain 'current === 3'
        click_item gunControlMain/rateList
        wait_for gunControlMain/rateList isOpen
        shot "$tag-gun-editor"
        click_item gunControlMain/rateList
        wait_for gunControlMain/rateList '!isOpen'
        click_item gunControlMain/closeButton
        wait_for . '!gunControlMain.visible && !mainMask.visible && ui_View.enabled'
    fi

    if has profileMain/newButton; then
        click_item configBtn
        wait_for profileMain visible
        click_item profileMain/newButton
        wait_for profileMain 'profileDataModel0.count >= 2'
        click_item profileMain/newButton
        wait_for profileMain 'profileDataModel0.count >= 3'
        read -r x y w h < <(ask rect profileMain/profileList/profileRow1)
        xdotool mousemove $((x + w / 3)) $((y + h / 2)) click 3
        wait_for profileMain contextMenu.visible
        shot "$tag-profiles"
        # Delete asks first, naming the profile.
        read -r x y w h < <(ask rect profileMain/contextMenu)
        xdotool mousemove $((x + w / 2)) $((y + 13)) click 1
        wait_for profileMain/deleteAsk isOpen
        shot "$tag-profile-delete"
        click_item profileMain/deleteAskAnswer1
        wait_for profileMain/deleteAsk '!isOpen'
        # The import's file dialog over the window, in the window's colours; Escape cancels it.
        click_item profileMain/importButton
        for _ in $(seq 600); do
            ask widget QFileDialog >/dev/null 2>&1 && break
            sleep 0.05
        done
        sleep 0.5
        shot "$tag-file-dialog"
        xdotool key Escape
        wait_for profileMain 'visible && profileDataModel0.count === 3'
        click_item profileMain/closeButton
        wait_for . '!profileMain.visible && !mainMask.visible'
    fi
}

# The window with the mouse unplugged, and the word it gives when a change cannot reach the mouse.
no_mouse_pictures() {
    local tag=$1
    has mouseStatus || return 0
    echo unplug >"$work/$tag.control"
    wait_for mouseStatus visible
    shot "$tag-no-mouse"
    click_item reportRateLV
    wait_for reportRateLV isOpen
    click_row reportRateLV 1
    for _ in $(seq 200); do
        ask widget QMessageBox >/dev/null 2>&1 && break
        sleep 0.05
    done
    shot "$tag-no-mouse-notice"
    echo plug >"$work/$tag.control"
    wait_for mouseStatus '!visible'
}

pictures() {
    local lang=$1 tag=$2
    local inst=$work/$tag
    mkdir -p "$inst" "$work/$tag-runtime" "$work/$tag-config"
    chmod 700 "$work/$tag-runtime"
    cp -r "$bin/modules" "$inst/"
    cp "$bin/kestral-config" "$inst/"
    set_ini "$inst/modules/setting/apConfig.bin" common language "$lang"
    sock=$work/$tag.socket

    KC_SCENE_PROBE_SOCKET=$sock VIRTUAL_MOUSE_PRELOAD=$root/build/lib/libkc_scene_probe.so \
        KC_VIRTUAL_MOUSE_LIB=$root/build/lib/libkc_virtual_mouse.so \
        VIRTUAL_MOUSE_TRANSCRIPT=$work/$tag.jsonl VIRTUAL_MOUSE_STATE=$work/$tag-state.json \
        VIRTUAL_MOUSE_CONTROL=$work/$tag.control QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=$work/$tag-runtime XDG_CONFIG_HOME=$work/$tag-config \
        GSETTINGS_BACKEND=keyfile \
        tools/with-virtual-mouse "$inst/kestral-config" >"$work/$tag.log" 2>&1 &
    app_pid=$!
    wait_for . "panelRight.visible && !powerOnLogo.visible && ui_View.enabled"

    shot "$tag-main"

    # The open report-rate list lies over the button below it.
    click_item reportRateLV
    wait_for reportRateLV isOpen
    shot "$tag-report-rate"
    click_item reportRateLV
    wait_for reportRateLV '!isOpen'

    # A row of the button list under the pointer lights its button on the picture.
    if has keyMatrixMain/keyRow3; then
        read -r x y w h < <(ask rect keyMatrixMain/keyRow3)
        xdotool mousemove $((x + w / 2)) $((y + h / 2))
        wait_for mouseMain 'selectKey === 3'
        shot "$tag-main-hover" keep-pointer
    fi

    # The ask menu: the maker's page, the version and the installed languages.
    click_item upItem/buttons/#0
    wait_for askMenu visible
    shot "$tag-ask-menu"
    read -r x y < <(ask point . 0.3 0.95)
    xdotool mousemove "$x" "$y" click 1
    wait_for askMenu '!visible'

    if has dpiSettingMain/dpiSegment; then
        click_item dpiSettingMain/dpiSegment
        wait_for dpiSettingMain/dpiSegment isOpen
        shot "$tag-dpi-stages"
        click_item dpiSettingMain/dpiSegment
        wait_for dpiSettingMain/dpiSegment '!isOpen'
    fi

    if has lightControlMain/lightModel; then
        click_item lightControlMain/lightModel
        wait_for lightControlMain/lightModel isOpen
        shot "$tag-lighting-effects"
        click_item lightControlMain/lightModel
        wait_for lightControlMain/lightModel '!isOpen'
    fi

    # The dialog is made when first opened: its button says it is there.
    if has systemSettingBtn; then
        click_item systemSettingBtn
        wait_for systemSettingMain visible
        # A click on the pointer speed's track applies it: the dialog says where it went.
        read -r x y w h < <(ask rect systemSettingMain/mouseRateSlider)
        xdotool mousemove $((x + w * 3 / 4)) $((y + h / 2)) click 1
        wait_for systemSettingMain/pointerReport visible
        shot "$tag-system-settings"
        click_item systemSettingMain/closeButton
        wait_for . '!systemSettingMain.visible && !mainMask.visible'
    fi

    gun_and_profile_pictures "$tag"

    # An unsaved edit is asked about before the reset would replace it; discarded, the reset asks.
    if has keyAssigmentMain/okButton; then
        click_item keyMatrixMain/keyRow2
        wait_for keyAssigmentMain visible
        click_item keyAssigmentMain/mouse5
        click_item keyAssigmentMain/okButton
        wait_for saveBtn unsaved
        click_item resetBtn
        wait_for unsavedAsk isOpen
        shot "$tag-unsaved"
        click_item unsavedAsk/unsavedAskAnswer1
        wait_for saveBtn '!unsaved'
    else
        click_item resetBtn
    fi
    wait_for factorysure visible
    shot "$tag-factory-reset"
    click_item factorysureCancel
    wait_for . '!factorysure.visible && !mainMask.visible'

    macro_pictures "$tag"
    assignment_pictures "$tag"
    no_mouse_pictures "$tag"

    kill -TERM "$app_pid"
    wait "$app_pid" || true
    app_pid=
}

pictures English en
pictures ChineseSimplified zh

if [ "$docs" = 1 ]; then
    mkdir -p docs
    cp "$out/en-main.png" docs/window.png
    echo "$root/docs/window.png"
fi

# The README's tour: a few English pictures beside the main window.
if [ "$docs" = 1 ]; then
    for pair in lighting-effects:lighting gun-editor:gun-editor profiles:profiles system-settings:system-settings; do
        [ -f "$out/en-${pair%%:*}.png" ] || continue
        cp "$out/en-${pair%%:*}.png" "docs/tour-${pair#*:}.png"
        echo "$root/docs/tour-${pair#*:}.png"
    done
fi
