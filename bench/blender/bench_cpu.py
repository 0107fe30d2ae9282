# Run by run_cpu inside a headless Blender: enabling the add-on (its import and its attach),
# then one take of a few seconds with $QVNB_BENCH_CAMERAS bound orbit cameras pumped by the
# add-on's own timer callback, then the stop that writes its keys. Counts this thread's
# processor time, not the wall clock, so other work on a shared machine weighs less. Works with
# the add-on of any tree whose tests folder is $QVNB_BENCH_TESTS, to compare adaptor versions.
import math  # noqa: F401 - what the test helpers import, loaded before the clock runs
import os
import sys
import time
import xml.etree.ElementTree  # noqa: F401

import bpy

sys.path.insert(0, os.environ["QVNB_BENCH_TESTS"])

CAMERAS = int(os.environ.get("QVNB_BENCH_CAMERAS", "1"))
SECONDS = float(os.environ.get("QVNB_BENCH_SECONDS", "4"))
INTERVAL = 0.01


def field(record, name):
    return record[name] if isinstance(record, dict) else getattr(record, name)


cpu = time.thread_time
started = cpu()
# Importing the add-on loads its library in some versions and only at attach in others.
from blender_testing import enable, load_bound_camera, session  # noqa: E402

core = enable()
attach = cpu() - started
# What Blender's timer calls during a take.
timer = getattr(session, "_pump", session.pump)
bpy.context.scene.render.fps = 60
for i in range(CAMERAS):
    load_bound_camera(core, name="Bench Camera_%02d" % (i + 1))
cost = core.key_cost()
core.start_recording()
taking = 0.0
end = time.monotonic() + SECONDS
while time.monotonic() < end:
    started = cpu()
    timer()
    taking += cpu() - started
    time.sleep(INTERVAL)
started = cpu()
core.stop_recording()
session.pump()
stopping = cpu() - started
samples = field(core.takes()[-1], "samples")
adaptor = field(core.key_cost(), "seconds") - field(cost, "seconds")
print("bench cpu: %2d camera(s), %d samples: attach %.1f ms, take %.1f us per sample, keys "
      "written after stop %.1f ms; adaptor's own share %.1f us per sample (wall)"
      % (CAMERAS, samples, attach * 1e3, taking / samples * 1e6, stopping * 1e3,
         adaptor / samples * 1e6))
