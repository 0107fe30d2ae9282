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
"$tree/bin/quorvane-blender" --factory-startup -noaudio --python "$here/scene.py" &
blender=$!
sleep 4
# Close the splash (a click in the empty viewport), then choose the add-on's sidebar tab.
/usr/bin/python3 "$here/click.py" 700,700 1308,255
sleep 5
import -window root "$output"
kill "$blender"
wait "$blender" 2>/dev/null
echo "picture written to $output"
