# An Orbit Camera instance made in Blender is a camera object of the scene with its lens set;
# creating and deleting it are Blender undo steps that take the instance along.
import math
import os
import sys

import bpy

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from blender_testing import check, enable, quorvane  # noqa: E402

core = enable()
name = core.create_instance("Orbit Camera")
check(name != "" and core.has_instance(name), "no Orbit Camera instance")
camera = bpy.data.objects.get(name + "_camera")
check(camera is not None and camera.type == "CAMERA", "no camera object named after the instance")
check(camera.name in bpy.context.scene.objects, "the camera is not in the scene")
check(abs(math.degrees(camera.data.angle_x) - 45.0) < 1e-4,
      "the lens is not the tool's 45 degree field of view: %f" % math.degrees(camera.data.angle_x))
check(core.create_instance("No Such Tool") == "", "an unknown tool made an instance")

steps = core.undo_steps()
print("undo steps after create:", steps)
bpy.ops.ed.undo()
check(bpy.data.objects.get(name + "_camera") is None, "undo left the camera object")
check(not core.has_instance(name), "undo left the instance")
bpy.ops.ed.redo()
check(bpy.data.objects.get(name + "_camera") is not None, "redo did not bring the camera back")
check(core.has_instance(name), "redo did not bring the instance back")

core.delete_instance(name)
check(bpy.data.objects.get(name + "_camera") is None, "deleting the instance left its camera")
check(not core.has_instance(name), "the instance is still there after deleting it")
bpy.ops.ed.undo()
check(core.has_instance(name) and bpy.data.objects.get(name + "_camera") is not None,
      "undoing the delete did not bring instance and camera back")
quorvane.unregister()
print("camera: ok")
