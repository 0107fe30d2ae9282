# A take of about two seconds, the orbit camera's pan driven by the simulated gamepad: one key
# per sample on the camera's F-curves, following the stick; one undo removes the keys and the
# recorded curves together, redo brings them back; Space typed into Blender stops a take.
import math
import os
import sys

import bpy

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from blender_testing import (CAMERA, STICK, TURN_SPEED, check, curves, enable,  # noqa: E402
                             instance_tag, load_bound_camera, pan_rate, pump_for, quorvane,
                             record, session)

FPS = 60
scene = bpy.context.scene
scene.render.fps = FPS
scene.render.fps_base = 1.0

core = enable()
camera = load_bound_camera(core)
check(camera is not None, "the bound camera has no camera object")
check(curves(camera) == {}, "the camera has keys before any take")

take = record(core, 2.0)
print("take:", take)
check(take["samples"] > 60, "a two second take at 60 fps recorded %d samples" % take["samples"])
keyed = curves(camera)
for channel in [("location", i) for i in range(3)] + [("rotation_euler", i) for i in range(3)]:
    check(channel in keyed, "no F-curve for %s[%d]" % channel)
frames = [k.co[0] for k in keyed[("location", 0)].keyframe_points]
check(len(frames) == take["samples"],
      "%d keys for %d samples" % (len(frames), take["samples"]))
check(abs(frames[0] - take["first_sample_time"] * FPS) < 1e-3 and
      abs(frames[-1] - take["last_sample_time"] * FPS) < 1e-3,
      "keys from frame %g to %g, samples from %g s to %g s" %
      (frames[0], frames[-1], take["first_sample_time"], take["last_sample_time"]))
check(all(abs(b - a - 1.0) < 1e-3 for a, b in zip(frames, frames[1:])),
      "the keys are not one per frame")
check(all(k.interpolation == "LINEAR" for k in keyed[("location", 0)].keyframe_points),
      "sample keys are not linear")

# Half a stick turns the camera at half its turn speed; its pitch and distance stay put, so it
# circles at one height (Blender's z is the core's up).
rate = pan_rate(camera)
print("pan rate: %.3f degrees per second" % rate)
check(abs(rate - STICK * TURN_SPEED) < 0.02 * STICK * TURN_SPEED, "the pan does not follow the stick")
heights = [k.co[1] for k in keyed[("location", 2)].keyframe_points]
check(max(heights) - min(heights) < 1e-4 and abs(heights[0] - 10 * math.sin(math.radians(15))) < 1e-3,
      "the camera does not circle at its pitch's height")
check(camera.data.type == "PERSP", "the camera lost its lens")

recorded = instance_tag(core.save_scene(), CAMERA).find("recordedinputvalues")
check(recorded is not None and len(recorded) > 0, "the take recorded no input curves")

steps = core.undo_steps()
check(steps and steps[-1] == ("Record", True), "the take is not the undo step 'Record': %s" % steps)
bpy.ops.ed.undo()
camera = bpy.data.objects.get(CAMERA + "_camera")
check(curves(camera) == {}, "undo left keys on the camera")
recorded = instance_tag(core.save_scene(), CAMERA).find("recordedinputvalues")
check(recorded is None or len(recorded) == 0, "undo left the recorded input curves")
bpy.ops.ed.redo()
camera = bpy.data.objects.get(CAMERA + "_camera")
check(len(curves(camera)[("location", 0)].keyframe_points) == take["samples"],
      "redo did not bring the keys back")
recorded = instance_tag(core.save_scene(), CAMERA).find("recordedinputvalues")
check(recorded is not None and len(recorded) > 0, "redo did not bring the recorded curves back")

# Keys typed into Blender during a take are the core's; Space stops the take.
check(not core.forward_key("A", True), "a key was taken from Blender with no take running")
core.forward_key("A", False)
check(core.start_recording() == 0, "the second take did not start")
pump_for(0.3)
check(core.forward_key("A", True), "a key reached Blender during a take")
core.forward_key("A", False)
core.forward_key("SPACE", True)
core.forward_key("SPACE", False)
session.pump()
check(not core.is_recording(), "Space did not stop the take")
check(len(core.takes()) == 2, "the second take was not reported")

quorvane.unregister()
print("take: ok")
