# Resimulation: the take's recorded inputs replayed with the pan binding's multiplier doubled
# key the camera again over the same frames, turning twice as far at every sample.
import os
import sys
import time
import xml.etree.ElementTree as ET

import bpy

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from blender_testing import (CAMERA, bind_pan, check, curves, enable,  # noqa: E402
                             instance_tag, load_bound_camera, quorvane, record, session,
                             unwrapped, yaw_degrees)

RESIMULATED = "Resim Camera_01"
FPS = 30
bpy.context.scene.render.fps = FPS


def yaws(obj):
    keyed = curves(obj)
    xs = keyed[("location", 0)].keyframe_points
    ys = keyed[("location", 1)].keyframe_points
    return [x.co[0] for x in xs], unwrapped([yaw_degrees((x.co[1], y.co[1])) for x, y in zip(xs, ys)])


core = enable()
load_bound_camera(core)
take = record(core, 1.5)
frames, recorded = yaws(bpy.data.objects[CAMERA + "_camera"])

# The camera again, with its recorded inputs and the pan multiplier at 2, under a new name.
tag = instance_tag(core.save_scene(), CAMERA)
for dropped in ("name", "nodeinfo", "masternode"):
    for child in tag.findall(dropped):
        tag.remove(child)
ET.SubElement(tag, "name").text = RESIMULATED
bind_pan(tag, multiplier=2)
wrapper = ET.Element("QVT")
wrapper.append(tag)
core.delete_instance(CAMERA)
check(core.load_scene(ET.tostring(wrapper, encoding="unicode")), "the changed camera did not load")
bpy.ops.ed.undo_push(message="Load changed camera")
camera = bpy.data.objects[RESIMULATED + "_camera"]
check(curves(camera) == {}, "the new camera has keys before the resimulation")

core.resimulate(take["first_sample_time"] - 1.0 / FPS, take["last_sample_time"])
deadline = time.monotonic() + 30
while core.is_recording() and time.monotonic() < deadline:
    session.pump()
    time.sleep(0.002)
session.pump()
check(not core.is_recording(), "the resimulation did not finish")

camera = bpy.data.objects[RESIMULATED + "_camera"]
resimulated_frames, resimulated = yaws(camera)
check(resimulated_frames == frames, "the resimulation keyed other frames than the take")
for frame, a, b in zip(frames, recorded, resimulated):
    # Both turn from the camera's rest yaw of 0 at the sample before the first key.
    check(abs(b - 2 * a) < 1e-2, "at frame %g the take turned %g degrees, the resimulation %g"
          % (frame, a, b))
check(core.undo_steps()[-1][1], "the resimulation is not an applied undo step")
bpy.ops.ed.undo()
check(curves(bpy.data.objects[RESIMULATED + "_camera"]) == {},
      "one undo did not remove the resimulated keys")
quorvane.unregister()
print("resimulate: ok")
