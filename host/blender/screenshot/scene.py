# Run by Blender (after the add-on is enabled) for the picture: the sidebar shown, an orbit
# camera that has recorded a short take, and the main dialog open.
import bpy

from quorvane import session

steps = iter(range(100))


def sidebar():
    for window in bpy.context.window_manager.windows:
        for area in window.screen.areas:
            if area.type == "VIEW_3D":
                area.spaces[0].show_region_ui = True


def stage():
    step = next(steps)
    core = session.get()
    if step == 0:
        sidebar()
        return 4.0
    if step == 1:
        core.create_instance("Orbit Camera")
        core.open_main_dialog()
        print("ready", flush=True)
    return None


bpy.app.timers.register(stage, first_interval=2.0)
