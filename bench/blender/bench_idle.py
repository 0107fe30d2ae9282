# Run by run_idle inside Blender: what the add-on costs while nothing happens. For MEASURE
# seconds after a settling pause: the CPU time spent in the add-on's pump (its timer callback)
# and the whole Blender process's CPU time, per wall second; printed as "bench" lines, then
# Blender quits. With its window, Blender's timers call the pump; headless (-b), where Blender
# runs no event loop, this script calls it as Blender's timer would, sleeping the interval the
# pump asks for. QUORVANE_IDLE_TOOLS orbit cameras bound to the simulated gamepad are made
# first (0: an empty scene); QUORVANE_IDLE_ADDON=0 measures Blender without the add-on.
import os
import sys
import time

import bpy

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "host",
                                "blender", "tests"))
SETTLE = 3.0
MEASURE = 10.0
TOOLS = int(os.environ.get("QUORVANE_IDLE_TOOLS", "0"))
ADDON = os.environ.get("QUORVANE_IDLE_ADDON", "1") == "1"

pump_cpu = [0.0]
turns = [0]
if ADDON:
    from blender_testing import load_bound_camera, quorvane, session  # noqa: E402

    quorvane.register()
    core = session.get()
    for i in range(TOOLS):
        load_bound_camera(core, name="Idle Camera_%02d" % (i + 1))
    inner = session._pump

    def counted():
        started = time.thread_time()
        result = inner()
        pump_cpu[0] += time.thread_time() - started
        turns[0] += 1
        return result

    # The timer the add-on registered calls session._pump; the wrapper takes its place.
    if bpy.app.timers.is_registered(inner):
        bpy.app.timers.unregister(inner)
    session._pump = counted
    session.wake()

state = {}


def measure():
    if not state:
        state.update(wall=time.monotonic(), cpu=time.process_time(), pump=pump_cpu[0],
                     turns=turns[0])
        return MEASURE
    wall = time.monotonic() - state["wall"]
    cpu = time.process_time() - state["cpu"]
    pump = pump_cpu[0] - state["pump"]
    label = ("%d tools and the simulated pad" % TOOLS if TOOLS else "empty scene") if ADDON else \
        "without the add-on"
    label += ", headless" if bpy.app.background else ", with Blender's window"
    print("bench idle: %s: add-on pump %.3f %% of a core (%d turns in %.1f s), Blender process "
          "%.2f %% of a core" % (label, 100.0 * pump / wall, turns[0] - state["turns"], wall,
                                 100.0 * cpu / wall))
    sys.stdout.flush()
    bpy.ops.wm.quit_blender()
    return None


if bpy.app.background:
    started = time.monotonic()
    while time.monotonic() - started < SETTLE:
        time.sleep(session._pump())
    measure()
    while time.monotonic() - state["wall"] < MEASURE:
        time.sleep(session._pump())
    measure()
else:
    bpy.app.timers.register(measure, first_interval=SETTLE)
