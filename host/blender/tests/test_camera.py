# The panel's tools: the installed tools are the main dialog's create menus; an Orbit Camera made
# from that menu is a camera object with its lens set, in the active collection at the 3D cursor,
# marked with its own identity; the panel's tool list follows creation, undo and redo; a tool's
# line selects its objects and opens its configuration and input settings; creating and deleting
# are Blender undo steps that take the instance along; an object the user deletes is reported once and made
# again only when its tool keys it; renaming the object keeps the tool on it.
import ctypes
import math
import os
import sys

import bpy

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from blender_testing import (all_keys, check, curves, enable, notices, quorvane,  # noqa: E402
                             record, recorded_inputs)

shots = bpy.data.collections.new("Shots")
bpy.context.scene.collection.children.link(shots)
layer = bpy.context.view_layer
layer.active_layer_collection = layer.layer_collection.children["Shots"]
bpy.context.scene.cursor.location = (2.0, -3.0, 1.5)

core = enable()
from quorvane import panel  # noqa: E402

installed = {tool["name"]: tool for tool in core.installed_tools()}
check("Orbit Camera" in installed and installed["Orbit Camera"]["menu"] == "Create Camera tool",
      "the camera menu does not offer the Orbit Camera: %s" % installed)
check(len(installed) > 1 and all(t["description"] for t in installed.values()),
      "the installed tools are not the create menus' entries: %s" % installed)
check(panel.scene_tools() == [], "a new scene lists tools: %s" % panel.scene_tools())
check(bpy.ops.quorvane.create_tool(tool="Orbit Camera") == {"FINISHED"}, "creating failed")
tools = panel.scene_tools()
check(len(tools) == 1 and tools[0][0] == 0, "the panel lists %s after one creation" % tools)
name = tools[0][1]
check(core.has_instance(name), "the listed tool %s does not exist" % name)
camera = bpy.data.objects.get(name + "_camera")
check(camera is not None and camera.type == "CAMERA", "no camera object named after the instance")
check(camera.name in shots.objects and camera.name not in bpy.context.scene.collection.objects,
      "the camera is not in the active collection")
check(tuple(camera.location) == (2.0, -3.0, 1.5), "the camera is not at the 3D cursor: %s"
      % (tuple(camera.location),))
check(abs(math.degrees(camera.data.angle_x) - 45.0) < 1e-4,
      "the lens is not the tool's 45 degree field of view: %f" % math.degrees(camera.data.angle_x))
try:
    bpy.ops.quorvane.create_tool(tool="No Such Tool")
    check(False, "creating an unknown tool did not fail")
except RuntimeError:
    pass
check(len(panel.scene_tools()) == 1, "an unknown tool made an instance")

bpy.ops.ed.undo()
check(bpy.data.objects.get(name + "_camera") is None, "undo left the camera object")
check(not core.has_instance(name) and panel.scene_tools() == [],
      "undo left the instance: %s" % panel.scene_tools())
bpy.ops.ed.redo()
check(bpy.data.objects.get(name + "_camera") is not None, "redo did not bring the camera back")
check(core.has_instance(name) and panel.scene_tools() == [(0, name)],
      "redo did not bring the instance back: %s" % panel.scene_tools())

# A second tool, made from a template, lists after the first; selecting a line selects only that
# tool's objects; the tool windows open on the tool asked for.
check(bpy.ops.quorvane.create_tool(tool="Turntable") == {"FINISHED"}, "no template tool made")
listed = [tool for depth, tool in panel.scene_tools() if depth == 0]
check(len(listed) == 2 and listed[0] == name, "the panel lists %s" % listed)
turntable = listed[1]
bpy.ops.quorvane.select_tool(name=name)
check([o.name for o in bpy.context.selected_objects] == [name + "_camera"] and
      bpy.context.view_layer.objects.active.name == name + "_camera",
      "selecting %s selected %s" % (name, [o.name for o in bpy.context.selected_objects]))
for tool in (turntable, name):
    check(bpy.ops.quorvane.configure_tool(name=tool) == {"FINISHED"}, "no configuration window")
    title = core.open_tool_window(tool, quorvane.shim.TOOL_CONFIGURATION)
    check(title.startswith("Configuration for " + tool), "configuration opened %r" % title)
    check(core.open_tool_window(tool, quorvane.shim.TOOL_INPUT_SETTINGS) == "Inputs for " + tool,
          "the input settings of %s did not open" % tool)
check(core.open_tool_window("No Such Tool", quorvane.shim.TOOL_CONFIGURATION) == "",
      "a window opened for a tool that does not exist")
core.delete_instance(turntable)

# A change on the camera's preference page (field of view 45 to 60, typed and confirmed) is one
# Blender undo step: undo shows 45 again and leaves the tool that was made before it.
testkit = ctypes.CDLL(os.environ["QUORVANE_TESTKIT"])
for function, arguments in ((testkit.qvnt_type_number, (ctypes.c_char_p, ctypes.c_double,
                                                        ctypes.c_double)),
                            (testkit.qvnt_shows_number, (ctypes.c_char_p, ctypes.c_double))):
    function.argtypes = arguments
page = ("Configuration for " + name).encode()
core.open_tool_window(name, quorvane.shim.TOOL_CONFIGURATION)
steps = len(core.undo_steps())
check(testkit.qvnt_type_number(page, 45.0, 60.0), "the page shows no field of view of 45")
check(len(core.undo_steps()) == steps + 1 and core.undo_steps()[-1][1],
      "the change is not one undo step: %s" % core.undo_steps()[steps - 1:])
check(testkit.qvnt_shows_number(page, 60.0), "the page does not show the new field of view")
bpy.ops.ed.undo()
check(testkit.qvnt_shows_number(page, 45.0) and not testkit.qvnt_shows_number(page, 60.0),
      "undo did not bring back the field of view of 45 on the page")
check(core.has_instance(name) and bpy.data.objects.get(name + "_camera") is not None,
      "undo of the preference change took back the step before it")
bpy.ops.ed.redo()
check(testkit.qvnt_shows_number(page, 60.0), "redo did not bring back the field of view of 60")

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
    keys = all_keys(owned[0]) if owned else None
    return len(owned), keys, recorded_inputs(core.save_scene(), name)


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
