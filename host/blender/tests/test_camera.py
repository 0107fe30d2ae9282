# An Orbit Camera instance made in Blender is a camera object with its lens set, in the active
# collection at the 3D cursor, marked with its own identity; creating and deleting are Blender
# undo steps that take the instance along; an object the user deletes is reported once and made
# again only when its tool keys it; renaming the object keeps the tool on it.
import math
import os
import sys

import bpy

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from blender_testing import (check, curves, enable, instance_tag, notices, quorvane,  # noqa: E402
                             record)

shots = bpy.data.collections.new("Shots")
bpy.context.scene.collection.children.link(shots)
layer = bpy.context.view_layer
layer.active_layer_collection = layer.layer_collection.children["Shots"]
bpy.context.scene.cursor.location = (2.0, -3.0, 1.5)

core = enable()
name = core.create_instance("Orbit Camera")
check(name != "" and core.has_instance(name), "no Orbit Camera instance")
camera = bpy.data.objects.get(name + "_camera")
check(camera is not None and camera.type == "CAMERA", "no camera object named after the instance")
check(camera.name in shots.objects and camera.name not in bpy.context.scene.collection.objects,
      "the camera is not in the active collection")
check(tuple(camera.location) == (2.0, -3.0, 1.5), "the camera is not at the 3D cursor: %s"
      % (tuple(camera.location),))
check(abs(math.degrees(camera.data.angle_x) - 45.0) < 1e-4,
      "the lens is not the tool's 45 degree field of view: %f" % math.degrees(camera.data.angle_x))
check(core.create_instance("No Such Tool") == "", "an unknown tool made an instance")

bpy.ops.ed.undo()
check(bpy.data.objects.get(name + "_camera") is None, "undo left the camera object")
check(not core.has_instance(name), "undo left the instance")
bpy.ops.ed.redo()
check(bpy.data.objects.get(name + "_camera") is not None, "redo did not bring the camera back")
check(core.has_instance(name), "redo did not bring the instance back")

# Renamed by the user, the object is still the tool's: a take keys it and makes no other.
camera = bpy.data.objects[name + "_camera"]
camera.name = "ShotCam"
bpy.ops.ed.undo_push(message="Rename")
record(core, 0.3)
check(curves(bpy.data.objects["ShotCam"]), "the take did not key the renamed camera")
check(bpy.data.objects.get(name + "_camera") is None, "the take made a second camera")

# Deleted by the user: reported once, and made again (with the same identity) by the next take.
identity = bpy.data.objects["ShotCam"]["quorvane_node"]
bpy.data.objects.remove(bpy.data.objects["ShotCam"])
bpy.ops.ed.undo_push(message="Delete camera")
before = len(notices())
record(core, 0.3)
remade = [o for o in bpy.data.objects if o.get("quorvane_node") == identity]
check(len(remade) == 1 and curves(remade[0]), "the take did not make the deleted camera again")
said = [text for _, text in notices()[before:] if "was deleted" in text]
check(len(said) == 1, "the deleted camera was reported %d times: %s" % (len(said), said))



def tool_state():
    """The tool's camera (by identity) with every key, and the tool's recorded inputs."""
    owned = [o for o in bpy.data.objects if o.get("quorvane_node") == identity]
    keys = {channel: [tuple(k.co) for k in curve.keyframe_points]
            for channel, curve in curves(owned[0]).items()} if owned else None
    tag = instance_tag(core.save_scene(), name) if core.has_instance(name) else None
    inputs = [i.text for i in tag.find("recordedinputvalues")] if tag is not None and \
        tag.find("recordedinputvalues") is not None else None
    return len(owned), keys, inputs


before = tool_state()
check(before[0] == 1 and before[1], "no keyed camera before the delete")
core.delete_instance(name)
check(tool_state()[0] == 0, "deleting the instance left its camera")
check(not core.has_instance(name), "the instance is still there after deleting it")
bpy.ops.ed.undo()
check(core.has_instance(name) and tool_state() == before,
      "undoing the delete did not bring back the tool, its camera and every key exactly")
bpy.ops.ed.redo()
check(not core.has_instance(name) and tool_state()[0] == 0, "redo did not delete them again")
quorvane.unregister()
print("camera: ok")
