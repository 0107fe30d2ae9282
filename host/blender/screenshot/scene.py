# Run by Blender (after the add-on is enabled) for the picture: the sidebar shown, an orbit
# camera made, and the main dialog open. It talks with take_screenshot.sh through files in
# $QUORVANE_SHOT_DIR: "sidebar" when the sidebar is up, then it waits for "clicked" (the script
# has chosen the add-on's tab) and writes "ready" once the dialog is open.
import os

import bpy

from quorvane import session

folder = os.environ["QUORVANE_SHOT_DIR"]


def mark(name):
    with open(os.path.join(folder, name), "w"):
        pass


def show_sidebar():
    for window in bpy.context.window_manager.windows:
        for area in window.screen.areas:
            if area.type == "VIEW_3D":
                area.spaces[0].show_region_ui = True
    mark("sidebar")
    return None


def open_dialog():
    if not os.path.exists(os.path.join(folder, "clicked")):
        return 0.5
    core = session.get()
    core.create_instance("Orbit Camera")
    core.open_main_dialog()
    mark("ready")
    return None


bpy.app.timers.register(show_sidebar, first_interval=2.0)
bpy.app.timers.register(open_dialog, first_interval=2.5)
