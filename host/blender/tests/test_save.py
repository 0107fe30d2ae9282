# First half of the persistence test. A take is what the scene makes of its recorded inputs:
# resimulating it unchanged gives the same keys; after it is undone, a new take starts from the
# camera's pose at the start, not from where the undone take left it. The second take is saved
# with its camera renamed by the user (test_reload.py opens the file in a fresh Blender).
import json
import os
import sys

import bpy

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from blender_testing import (CAMERA, WORK, all_keys, check, curves, enable,  # noqa: E402
                             finish_resimulation, instance_tag, load_bound_camera, quorvane,
                             record, same_keys)

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
    "recorded": [i.text for i in instance_tag(core.save_scene(), CAMERA).find("recordedinputvalues")],
}
with open(os.path.join(WORK, "expected.json"), "w") as out:
    json.dump(expected, out)
quorvane.unregister()
print("save: ok")
