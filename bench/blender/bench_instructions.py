# Run by run_instructions under callgrind inside a headless Blender: one take of a few seconds
# with $QVNB_BENCH_CAMERAS bound orbit cameras, pumped as the add-on's timer does, then stopped
# so its keys are written. Works with the add-on of any tree whose tests folder is
# $QVNB_BENCH_TESTS (the instruction counts of the adaptor's entry points are read from the
# profile afterwards). Prints the samples the take recorded.
import os
import sys
import time

import bpy

sys.path.insert(0, os.environ["QVNB_BENCH_TESTS"])
from blender_testing import enable, load_bound_camera, session  # noqa: E402

CAMERAS = int(os.environ.get("QVNB_BENCH_CAMERAS", "1"))
SECONDS = float(os.environ.get("QVNB_BENCH_SECONDS", "3"))
INTERVAL = 0.01

core = enable()
bpy.context.scene.render.fps = 60
for i in range(CAMERAS):
    load_bound_camera(core, name="Bench Camera_%02d" % (i + 1))
core.start_recording()
end = time.monotonic() + SECONDS
while time.monotonic() < end:
    session.pump()
    time.sleep(INTERVAL)
core.stop_recording()
session.pump()
take = core.takes()[-1]
print("bench samples: %d cameras, %d samples, %d keys" % (CAMERAS, take["samples"] if isinstance(take, dict) else take.samples, CAMERAS * (take["samples"] if isinstance(take, dict) else take.samples)))
