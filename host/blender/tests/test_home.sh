# Sourced by the runners once $stage, $work and $tests are set: a fresh home under $work (with
# no countdown, so a take starts at once and the test stays short) and the environment that
# points the add-on, the core and the simulated gamepad at it and at the staged tree.
rm -rf "$work"
mkdir -p "$work/home/.config" "$work/runtime" "$work/tmp"
chmod 700 "$work/runtime"
settings="$work/home/Documents/Morvik Vedidedivu/quorvane/data/blender"
mkdir -p "$settings"
printf '<QVNConfig><item id="100">0</item></QVNConfig>\n' > "$settings/settings.xml"
unset WAYLAND_DISPLAY QUORVANE_CORE_LIBRARY
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_RUNTIME_DIR="$work/runtime"
export QUORVANE_INSTALL_ROOT="$stage" QUORVANE_TEST_WORK="$work"
export QUORVANE_SIMULATED_GAMEPAD="$tests/pan_gamepad.txt"
