#!/bin/sh
# Pictures Blender with the add-on's panel and the main dialog open under a virtual display:
# take_screenshot.sh STAGE_TREE OUTPUT.png (STAGE_TREE is build/stage/quorvane).
# Needs xvfb-run, imagemagick's import and the X test extension library.
tree=$(readlink -f "$1")
output=$2
here=$(dirname "$(readlink -f "$0")")
if [ -z "$INSIDE_XVFB" ]; then
    INSIDE_XVFB=1 exec xvfb-run -a -s '-screen 0 1600x900x24' "$0" "$@"
fi
QUORVANE_SHOT_DIR=$(mktemp -d)
export QUORVANE_SHOT_DIR
wait_for() {
    for _ in $(seq 120); do
        [ -e "$QUORVANE_SHOT_DIR/$1" ] && return 0
        sleep 0.5
    done
    echo "Blender did not get to \"$1\"" >&2
    return 1
}
"$tree/bin/quorvane-blender" --factory-startup -noaudio --python "$here/scene.py" &
blender=$!
if wait_for sidebar; then
    sleep 1
    # Close the splash (a click in the empty viewport), then choose the add-on's sidebar tab.
    /usr/bin/python3 "$here/click.py" 700,700 1308,255
    touch "$QUORVANE_SHOT_DIR/clicked"
    # Kept small for the repository: three quarters of the screen, 256 colours.
    wait_for ready && sleep 4 && import -window root "$output" &&
        mogrify -resize 1200x675 -colors 256 -define png:format=png8 "$output" && echo "picture written to $output"
fi
kill "$blender"
wait "$blender" 2>/dev/null
rm -rf "$QUORVANE_SHOT_DIR"
