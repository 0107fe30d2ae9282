# Resimulation: the take's recorded inputs replayed with the pan binding's multiplier doubled
# key the camera again over the same frames, turning twice as far at every sample, and never
# outside the range asked for; the panel's Resimulate offers the last take's range; the core reads
# a node's pose from its animation at the asked time, not from where the object happens to stand.
import base64
import os
import struct
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
    """Frames and yaws of the sample keys (the first key holds the pose the take started from)."""
    keyed = curves(obj)
    xs = [k for k in keyed[("location", 0)].keyframe_points if k.co[0] > first_frame]
    ys = [k for k in keyed[("location", 1)].keyframe_points if k.co[0] > first_frame]
    return [x.co[0] for x in xs], unwrapped([yaw_degrees((x.co[1], y.co[1])) for x, y in zip(xs, ys)])


def finish():
    deadline = time.monotonic() + 30
    while core.is_recording() and time.monotonic() < deadline:
        check(not bpy.ops.quorvane.resimulate.poll(), "Resimulate is offered while it runs")
        session.pump()
        time.sleep(0.002)
    session.pump()
    check(not core.is_recording(), "the resimulation did not finish")
    check(bpy.ops.quorvane.resimulate.poll(), "Resimulate stays greyed after it finished")


core = enable()
load_bound_camera(core)
first_frame = bpy.context.scene.frame_current
take = record(core, 1.5)
frames, recorded = yaws(bpy.data.objects[CAMERA + "_camera"])

# What the core reads of a node is its animation at the time it asks for: move the camera by
# hand without keying it, and the scene tag still holds the keyed pose of the current frame.
camera = bpy.data.objects[CAMERA + "_camera"]
bpy.context.scene.frame_set(int(frames[10]))
keyed_world = [list(row) for row in camera.matrix_world]
camera.location = (50.0, 50.0, 50.0)
stored = instance_tag(core.save_scene(), CAMERA).find("nodeinfo/node/transform[@reference='global']")
values = struct.unpack("<16d", base64.b64decode(stored.text))
check(abs(values[3] - keyed_world[0][3]) < 1e-5 and abs(values[3] - 50.0) > 1.0,
      "the core read the camera's current place (%s), not its keys (%s)"
      % (values[3], keyed_world[0][3]))
bpy.context.scene.frame_set(first_frame)

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
camera = bpy.data.objects[RESIMULATED + "_camera"]
# A hand key far past the take: a resimulation of the take's range must leave it alone.
camera.keyframe_insert("location", frame=500)
bpy.ops.ed.undo_push(message="Load changed camera")

check(bpy.ops.quorvane.resimulate(range="TAKE") == {"FINISHED"}, "Resimulate did not start")
finish()
camera = bpy.data.objects[RESIMULATED + "_camera"]
resimulated_frames, resimulated = yaws(camera)
check(resimulated_frames[-1] == 500, "the hand key past the take's range is gone")
resimulated_frames, resimulated = resimulated_frames[:-1], resimulated[:-1]
check(resimulated_frames == frames, "the resimulation keyed frames %g-%g, the take %g-%g"
      % (resimulated_frames[0], resimulated_frames[-1], frames[0], frames[-1]))
for frame, a, b in zip(frames, recorded, resimulated):
    # Both turn from the camera's rest yaw of 0 at the sample before the first key.
    check(abs(b - 2 * a) < 1e-2,
          "at frame %g the take turned %g degrees, the resimulation %g" % (frame, a, b))
check(core.undo_steps()[-1][1], "the resimulation is not an applied undo step")
bpy.ops.ed.undo()
left = [k.co[0] for k in curves(bpy.data.objects[RESIMULATED + "_camera"])[("location", 0)].keyframe_points]
check(left == [500], "one undo did not bring back exactly the keys before: %s" % left[:5])
quorvane.unregister()
print("resimulate: ok")
