# Second half of the persistence test: the .blend saved by test_save.py, opened in a fresh
# Blender process, brings back the instance, its renamed camera with its keys and its recorded
# curves: once when the add-on is enabled on the open file, once when the file is opened with
# the add-on enabled; resimulating the saved take gives the keys it was saved with; a new take
# drives the renamed camera, never a new one.
import json
import os
import sys

import bpy

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from blender_testing import (CAMERA, WORK, all_keys, check, enable,  # noqa: E402
                             finish_resimulation, instance_tag, key_frames, quorvane, record,
                             recorded_inputs, same_keys)

path = os.path.join(WORK, "scene.blend")
with open(os.path.join(WORK, "expected.json")) as data:
    expected = json.load(data)
saved_keys = {tuple(channel): [tuple(k) for k in keys] for channel, keys in expected["all_keys"]}


def check_restored(how):
    check(core.has_instance(CAMERA), how + ": the instance did not come back")
    cameras = [o.name for o in bpy.data.objects if o.get("quorvane_node")]
    check(cameras == ["ShotCam"], how + ": the tool's objects in the file: %s" % cameras)
    camera = bpy.data.objects["ShotCam"]
    difference = same_keys(all_keys(camera), saved_keys, 0.0)
    check(difference is None, how + ": the camera's keys changed: %s" % difference)
    text = core.save_scene()
    check(recorded_inputs(text) == expected["recorded"], how + ": the recorded curves changed")
    # The instance holds its camera again: the node is in its tag, with its lens.
    nodes = instance_tag(text, CAMERA).find("nodeinfo").findall("node")
    check([n.get("type") for n in nodes] == ["camera"], how + ": the instance lost its camera")


bpy.ops.wm.open_mainfile(filepath=path)
core = enable()
check_restored("enabled on the open file")
bpy.ops.wm.open_mainfile(filepath=path)
check_restored("opened with the add-on enabled")
core.resimulate(*expected["range"])
finish_resimulation(core)
difference = same_keys(all_keys(bpy.data.objects["ShotCam"]), saved_keys)
check(difference is None, "the reopened file resimulates differently: %s" % difference)
bpy.context.scene.frame_set(100)
bpy.ops.ed.undo_push(message="Opened")
record(core, 0.3)
cameras = [o.name for o in bpy.data.objects if o.get("quorvane_node")]
check(cameras == ["ShotCam"], "a take after reopening made another camera: %s" % cameras)
check(100 in key_frames(bpy.data.objects["ShotCam"]),
      "the take after reopening did not key the renamed camera")
quorvane.unregister()
print("reload: ok")
