# Resimulation, and the first half of the persistence test. A take is what the scene makes of
# its recorded inputs: resimulating it unchanged gives the same keys (Resimulate greyed only while
# it runs); the core reads a node's pose from its animation at the asked time, not from where the
# object stands; after the take is undone, a new take starts from the camera's pose at the start,
# not from where the undone take left it. That take is saved with its camera renamed by the user
# (test_reload.py opens the file in a fresh Blender). Then its inputs replayed with the pan
# binding's multiplier doubled turn the camera twice as far at every sample, over the take's
# frames only, as one undo step.
import base64
import json
import os
import struct
import sys

import bpy

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from blender_testing import (CAMERA, WORK, all_keys, check, curves, enable,  # noqa: E402
                             finish_resimulation, instance_tag, key_frames, load_as,
                             load_bound_camera, quorvane, record, recorded_inputs, same_keys,
                             unwrapped, yaw_degrees)

scene = bpy.context.scene
scene.frame_set(5)
core = enable()
camera = load_bound_camera(core)
rest = tuple(camera.location)
take = record(core, 1.0)
check(take["samples"] > 0, "the take recorded nothing")
taken = all_keys(camera)
check(bpy.ops.quorvane.resimulate(range="TAKE") == {"FINISHED"}, "Resimulate did not start")
finish_resimulation(core)
difference = same_keys(all_keys(camera), taken)
check(difference is None, "resimulating the unchanged take changed its keys: %s" % difference)

# Move the camera by hand without keying it: the scene tag still holds the keyed pose.
scene.frame_set(10)
keyed_world = [list(row) for row in camera.matrix_world]
camera.location = (50.0, 50.0, 50.0)
stored = instance_tag(core.save_scene(), CAMERA).find("nodeinfo/node/transform[@reference='global']")
values = struct.unpack("<16d", base64.b64decode(stored.text))
check(abs(values[3] - keyed_world[0][3]) < 1e-5 and abs(values[3] - 50.0) > 1.0,
      "the core read the camera's current place (%s), not its keys (%s)"
      % (values[3], keyed_world[0][3]))

bpy.ops.ed.undo()
bpy.ops.ed.undo()
camera = bpy.data.objects[CAMERA + "_camera"]
check(curves(camera) == {} and tuple(camera.location) == rest,
      "undoing the resimulation and the take left keys or a moved camera")
scene = bpy.context.scene
scene.frame_set(5)
record(core, 0.6)
again = all_keys(camera)
for channel, keys in again.items():
    check(keys[0] == taken[channel][0],
          "the take after undo starts %s at %s, the first take at %s"
          % (channel, keys[0], taken[channel][0]))
    check(abs(keys[1][1] - taken[channel][1][1]) < 1e-4,
          "the take after undo does not move like the first from the same start: %s %s against %s"
          % (channel, keys[1], taken[channel][1]))

second = core.takes()[-1]
camera.name = "ShotCam"
bpy.ops.wm.save_as_mainfile(filepath=os.path.join(WORK, "scene.blend"))
check(bpy.data.texts.get("Quorvane Scene") is not None, "saving stored no scene tag")
fps = scene.render.fps / scene.render.fps_base
expected = {
    "keys": [list(key) for key in again[("location", 0)]],
    "all_keys": [[list(channel), [list(k) for k in keys]] for channel, keys in again.items()],
    "range": [second["first_sample_time"] - 1.0 / fps, second["last_sample_time"]],
    "recorded": recorded_inputs(core.save_scene()),
}
check(expected["recorded"], "the saved take has no recorded input curves")
with open(os.path.join(WORK, "expected.json"), "w") as out:
    json.dump(expected, out)


def yaws(obj):
    """Frames and yaws of the sample keys (the first key holds the pose the take started from)."""
    keyed = curves(obj)
    xs = [k for k in keyed[("location", 0)].keyframe_points if k.co[0] > 5]
    ys = [k for k in keyed[("location", 1)].keyframe_points if k.co[0] > 5]
    return [x.co[0] for x in xs], unwrapped([yaw_degrees((x.co[1], y.co[1])) for x, y in zip(xs, ys)])


RESIMULATED = "Resim Camera_01"
frames, recorded = yaws(camera)
tag = instance_tag(core.save_scene(), CAMERA)
core.delete_instance(CAMERA)
load_as(core, tag, RESIMULATED, multiplier=2).keyframe_insert("location", frame=500)
bpy.ops.ed.undo_push(message="Load changed camera")
check(bpy.ops.quorvane.resimulate(range="TAKE") == {"FINISHED"}, "Resimulate did not start")
finish_resimulation(core)
resimulated_frames, resimulated = yaws(bpy.data.objects[RESIMULATED + "_camera"])
check(resimulated_frames[-1] == 500, "the hand key past the take's range is gone")
check(resimulated_frames[:-1] == frames, "the resimulation keyed frames %g-%g, the take %g-%g"
      % (resimulated_frames[0], resimulated_frames[-2], frames[0], frames[-1]))
for frame, a, b in zip(frames, recorded, resimulated):
    check(abs(b - 2 * a) < 1e-2,
          "at frame %g the take turned %g degrees, the resimulation %g" % (frame, a, b))
bpy.ops.ed.undo()
left = key_frames(bpy.data.objects[RESIMULATED + "_camera"])
check(left == [500], "one undo did not bring back exactly the keys before: %s" % left[:5])
quorvane.unregister()
print("save and resimulate: ok")
