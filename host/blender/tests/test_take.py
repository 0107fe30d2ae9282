# A take of about two seconds, the orbit camera's pan driven by the simulated gamepad: one key
# per sample from the frame the take started on, following the stick; the take replaces the
# camera's keys inside its range and leaves hand-made keys outside it alone; one undo removes
# the keys and the recorded curves together, redo brings them back; Space typed into Blender
# stops a take; a loop far slower than the frame rate is reported as lost time.
import math
import os
import sys
import time

import bpy

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from blender_testing import (CAMERA, STICK, TURN_SPEED, check, curves, enable,  # noqa: E402
                             key_frames, load_bound_camera, notices, pan_rate, pump_for,
                             quorvane, record, recorded_inputs, session, yaw_degrees)
from quorvane import panel  # noqa: E402

FPS = 60
START = 10
scene = bpy.context.scene
scene.render.fps = FPS
scene.render.fps_base = 1.0
scene.frame_set(START)

core = enable()
camera = load_bound_camera(core)
check(camera is not None, "the bound camera has no camera object")
check(curves(camera) == {}, "the camera has keys before any take")
# Hand-made keys that leave the camera's pose as it is: one between two frames of the coming
# take, one far beyond it.
HAND = [(START + 30.5, 1.0), (START + 1000, 1.0)]
for frame, value in HAND:
    camera.scale[0] = value
    camera.keyframe_insert("scale", index=0, frame=frame)
check(curves(camera) and ("location", 0) not in curves(camera), "the hand keys were not made")
bpy.ops.ed.undo_push(message="Hand keys")

take = record(core, 2.0)
print("take:", take)
check(take["samples"] > 60, "a two second take at 60 fps recorded %d samples" % take["samples"])
keyed = curves(camera)
for channel in [("location", i) for i in range(3)] + [("rotation_euler", i) for i in range(3)]:
    check(channel in keyed, "no F-curve for %s[%d]" % channel)
frames = key_frames(camera)
scaled = key_frames(camera, ("scale", 0))
check(scaled == frames + [START + 1000],
      "the take did not replace the scale keys inside its range and only there: %s"
      % [f for f in scaled if f not in frames])
check(frames[0] == START, "the first key is on frame %g, the take started on %d" % (frames[0], START))
check(len(frames) == take["samples"] + 1,
      "%d keys for %d samples and the start frame" % (len(frames), take["samples"]))
check(abs(frames[1] - take["first_sample_time"] * FPS) < 1e-3 and
      abs(frames[-1] - take["last_sample_time"] * FPS) < 1e-3,
      "keys from frame %g to %g, samples from %g s to %g s" %
      (frames[1], frames[-1], take["first_sample_time"], take["last_sample_time"]))
check(all(abs(b - a - 1.0) < 1e-3 for a, b in zip(frames, frames[1:])),
      "the keys are not one per frame")
check(all(k.interpolation == "LINEAR" for k in keyed[("location", 0)].keyframe_points),
      "sample keys are not linear")
check(take["lost_seconds"] < 0.2, "a take pumped every 4 ms lost %.2f s" % take["lost_seconds"])

# Half a stick turns the camera at half its turn speed; its pitch and distance stay put, so it
# circles at one height (Blender's z is the core's up).
points = keyed[("location", 2)].keyframe_points
rate = pan_rate(camera)
print("pan rate: %.3f degrees per second" % rate)
check(abs(rate - STICK * TURN_SPEED) < 0.02 * STICK * TURN_SPEED, "the pan does not follow the stick")
heights = [k.co[1] for k in points][1:]
check(max(heights) - min(heights) < 1e-4 and abs(heights[0] - 10 * math.sin(math.radians(15))) < 1e-3,
      "the camera does not circle at its pitch's height")

check(recorded_inputs(core.save_scene()), "the take recorded no input curves")

steps = core.undo_steps()
check(steps and steps[-1] == ("Record", True), "the take is not the undo step 'Record': %s" % steps)
panel.follow_recording(core)
check(panel.shown_take(core) == (1, take), "the panel does not show the take")
bpy.ops.ed.undo()
check(panel.shown_take(core) is None, "the panel still shows the undone take")
camera = bpy.data.objects.get(CAMERA + "_camera")
hand = [tuple(k.co) for k in curves(camera)[("scale", 0)].keyframe_points]
check(hand == HAND and ("location", 0) not in curves(camera),
      "undo did not bring back the hand keys alone: %s" % hand)
check(not recorded_inputs(core.save_scene()), "undo left the recorded input curves")
bpy.ops.ed.redo()
check(panel.shown_take(core) == (1, take), "the panel does not show the redone take")
camera = bpy.data.objects.get(CAMERA + "_camera")
check(len(key_frames(camera)) == take["samples"] + 1, "redo did not bring the keys back")
check(recorded_inputs(core.save_scene()), "redo did not bring the recorded curves back")

# Keys typed into Blender during a take are the core's; Space stops the take.
check(not core.forward_key("A", True), "a key was taken from Blender with no take running")
core.forward_key("A", False)
check(core.start_recording() == 0, "the second take did not start")
pump_for(0.3)
# While a take runs its keys wait for its end; the camera shows its newest sample, not the
# earlier take's curves at the frame the clock has moved to.
camera = bpy.data.objects[CAMERA + "_camera"]
keyed, frame = curves(camera), bpy.context.scene.frame_current
on_curves = yaw_degrees((keyed[("location", 0)].evaluate(frame), keyed[("location", 1)].evaluate(frame)))
turned = (yaw_degrees(camera.location) - on_curves + 180.0) % 360.0 - 180.0
check(abs(turned) > 0.1 * STICK * TURN_SPEED * 0.3,
      "during the take the camera stands on its old curves (turned %.2f degrees)" % turned)
check(core.forward_key("A", True), "a key reached Blender during a take")
core.forward_key("A", False)
core.forward_key("SPACE", True)
core.forward_key("SPACE", False)
session.pump()
check(not core.is_recording(), "Space did not stop the take")
check(len(core.takes()) == 2, "the second take was not reported")

# Undo from Blender's menu during a take stops the take, keeps it as its own step and takes
# that step back: the tool and its camera stay, redo brings the take back.
keys_before = len(key_frames(bpy.data.objects[CAMERA + "_camera"]))
check(core.start_recording() == 0, "the take before the undo did not start")
pump_for(0.3)
bpy.ops.ed.undo()
check(not core.is_recording(), "undo left the take running")
check(core.has_instance(CAMERA) and bpy.data.objects.get(CAMERA + "_camera") is not None,
      "undo during a take touched the tool")
after_undo = len(key_frames(bpy.data.objects[CAMERA + "_camera"]))
check(after_undo == keys_before, "undo did not take back the stopped take: %d keys, %d before"
      % (after_undo, keys_before))
bpy.ops.ed.redo()
redone = len(key_frames(bpy.data.objects[CAMERA + "_camera"]))
check(redone > keys_before, "redo did not bring back the take stopped by undo")

# Saving during a take (from the File menu) stops it first, so the file holds its keys.
check(core.start_recording() == 0, "the take before the save did not start")
pump_for(0.3)
bpy.ops.wm.save_as_mainfile(filepath=os.path.join(os.environ["QUORVANE_TEST_WORK"], "take.blend"))
check(not core.is_recording(), "saving left the take running")
saved = len(key_frames(bpy.data.objects[CAMERA + "_camera"]))
check(saved > redone, "the take was not keyed before the save: %d keys, %d before" % (saved, redone))

# A loop that turns five times a second at 60 fps: the core catches up three samples per turn,
# so most of the take is never sampled, and the panel and the reports say so.
before = len(notices())
check(core.start_recording() == 0, "the slow take did not start")
end = time.monotonic() + 2.0
while time.monotonic() < end:
    session._pump()
    time.sleep(0.2)
core.stop_recording()
session._pump()
slow = core.takes()[-1]
print("slow take:", slow)
check(slow["lost_seconds"] > 0.8, "a slow loop lost only %.2f s" % slow["lost_seconds"])
warned = [text for level, text in notices()[before:] if level == "WARNING" and "not sampled" in text]
check(len(warned) == 1 and ("%.1f s" % slow["lost_seconds"]) in warned[0],
      "the lost time was not reported once: %s" % warned)
quorvane.unregister()
print("take: ok")
