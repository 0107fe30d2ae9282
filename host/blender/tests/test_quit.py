# Quitting Blender during a take, in a Blender with a window (the quit paths need one): by the
# quit shortcut the take ends first as its own undo step; by File > Quit or the window's close
# button Blender gives no warning, and the take is kept in the session file Blender leaves
# behind. Either way File > Recover > Last Session holds the take's keys; the check runs in a
# second, headless Blender (check_quit.py). When the file has a name and unsaved changes, the
# close button asks whether to save them: Save stops the take before the file is written, so the
# saved file holds it.
import os
import subprocess
import sys

import bpy

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from blender_testing import WORK, check, enable, load_bound_camera  # noqa: E402

MODE = os.environ["QUORVANE_QUIT_BY"]
# "save" answers Blender's question about unsaved changes; the other ways quit without it.
bpy.context.preferences.view.use_save_prompt = MODE == "save"


def keys(*names):
    """Types into Blender's window as a person would (the window manager gives it the focus)."""
    subprocess.run(["xdotool", "search", "--sync", "--name", "Blender", "windowactivate",
                    "--sync", "mousemove", "640", "400", "key"] + list(names), check=False,
                   capture_output=True)


def failing(step):
    """A failed check ends Blender at once with a failing status instead of leaving it open."""
    def run():
        try:
            return step()
        except Exception:  # noqa: BLE001 - any failure ends the test
            import traceback
            traceback.print_exc()
            os._exit(2)
    return run


def close_splash():
    # Before the take: a key typed during it would reach the take.
    keys("Escape")
    bpy.app.timers.register(failing(start), first_interval=1.0)


def start():
    if MODE == "save":
        bpy.ops.wm.save_as_mainfile(filepath=os.path.join(WORK, "scene.blend"))
    core = enable()
    check(load_bound_camera(core) is not None, "no bound camera")
    # Blender counts a file as changed only from the step after the first since saving; a step
    # pushed in a later turn of its loop makes the close button ask.
    bpy.app.timers.register(failing(record), first_interval=0.2)


def record():
    if MODE == "save":
        bpy.context.scene.frame_set(2)
        bpy.ops.ed.undo_push(message="Frame 2")
    window = bpy.context.window_manager.windows[0]
    with bpy.context.temp_override(window=window, area=None, region=None):
        check(bpy.ops.quorvane.record() == {"FINISHED"}, "the take did not start")
    bpy.app.timers.register(failing(quit), first_interval=1.5)


def quit():
    from quorvane import session
    check(session.get().is_recording(), "the take ended before quitting")
    print("quitting by", MODE)
    if MODE == "shortcut":
        keys("ctrl+q")
    elif MODE in ("close", "save"):
        if MODE == "save":
            check(bpy.data.is_dirty, "Blender does not count the file as changed")
            # Blender's question stops the loop this script runs in: the answer, its default
            # button, comes from outside once the question shows.
            subprocess.Popen(["sh", "-c", "sleep 3; xdotool key Return"])
        # The window manager's close (its title bar button) for Blender's window.
        keys("alt+F4")
    else:
        window = bpy.context.window_manager.windows[0]
        with bpy.context.temp_override(window=window):
            bpy.ops.wm.quit_blender()
    return None


bpy.app.timers.register(failing(close_splash), first_interval=1.0)
