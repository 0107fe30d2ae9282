# First half of the persistence test: a take saved in a .blend file, its camera renamed by the
# user (test_reload.py opens it in a fresh Blender process).
import json
import os
import sys

import bpy

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from blender_testing import (CAMERA, WORK, check, curves, enable, instance_tag,  # noqa: E402
                             load_bound_camera, quorvane, record)

core = enable()
camera = load_bound_camera(core)
take = record(core, 1.0)
check(take["samples"] > 0, "the take recorded nothing")
camera.name = "ShotCam"
bpy.ops.wm.save_as_mainfile(filepath=os.path.join(WORK, "scene.blend"))
check(bpy.data.texts.get("Quorvane Scene") is not None, "saving stored no scene tag")
expected = {
    "keys": [tuple(k.co) for k in curves(camera)[("location", 0)].keyframe_points],
    "recorded": [i.text for i in instance_tag(core.save_scene(), CAMERA).find("recordedinputvalues")],
}
with open(os.path.join(WORK, "expected.json"), "w") as out:
    json.dump(expected, out)
quorvane.unregister()
print("save: ok")
