# Run by run_bench inside a headless Blender. Prints one "bench" line per measurement.
import os
import sys
import time

import bpy

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "host",
                                "blender", "tests"))
from blender_testing import load_bound_camera, quorvane, session  # noqa: E402

SLOW_INTERVAL = 0.04  # a pump every 40 ms, for comparison
TAKE_INTERVAL = 0.01  # the add-on's timer while a take runs
TAKE_SECONDS = 10.0


def attach_ms():
    bpy.ops.ed.undo_push(message="Original")
    started = time.perf_counter()
    quorvane.register()
    return (time.perf_counter() - started) * 1000.0


def record_paced(core, seconds, interval):
    """A take pumped every `interval` seconds, as Blender's timer would."""
    core.start_recording()
    start = time.perf_counter()
    tick = start
    while time.perf_counter() - start < seconds:
        session.pump()
        tick += interval
        time.sleep(max(0.0, tick - time.perf_counter()))
    stopped = time.perf_counter()
    core.stop_recording()
    session.pump()
    return core.takes()[-1], time.perf_counter() - stopped


first = attach_ms()
quorvane.unregister()
again = attach_ms()
print("bench attach: first %.1f ms, again in the same process %.1f ms" % (first, again))

# The add-on's pace with one and twenty cameras, and a faster pump for comparison: at 60 fps a
# 40 ms pump records two or three samples per turn, and all but the first are caught up late.
for cameras, interval in ((1, SLOW_INTERVAL), (20, SLOW_INTERVAL), (1, TAKE_INTERVAL), (20, TAKE_INTERVAL)):
    # A new empty file: a fresh core and scene for each run.
    bpy.ops.wm.read_homefile(use_empty=True)
    bpy.ops.ed.undo_push(message="Original")
    scene = bpy.context.scene
    scene.render.fps = 60
    scene.render.fps_base = 1.0
    core = session.get()
    for i in range(cameras):
        load_bound_camera(core, name="Bench Camera_%02d" % (i + 1))
    before = core.key_cost()
    take, stop_seconds = record_paced(core, TAKE_SECONDS, interval)
    after = core.key_cost()

    seconds = after["seconds"] - before["seconds"]
    keys = after["keys"] - before["keys"]
    samples = take["samples"]
    print("bench keys: %2d camera(s), pump every %2d ms, %d samples at 60 fps: %.1f us per sample "
          "for all cameras, %.1f us per camera key (%d keys, %d flushes, %d shows)"
          % (cameras, interval * 1000, samples, seconds / samples * 1e6, seconds / max(1, keys) * 1e6, keys,
             after["flushes"] - before["flushes"], after["shows"] - before["shows"]))
    print("bench take: %2d camera(s), pump every %2d ms: %d of %d samples late, largest lag %.1f ms, "
          "%.2f s not sampled; keys written in %.1f ms after stop"
          % (cameras, interval * 1000, take["late_samples"], samples, take["max_lag_ms"],
             take.get("lost_seconds", 0.0), stop_seconds * 1000))
quorvane.unregister()
