# The session Blender left behind when it quit during a take (test_quit.py), or the file saved
# when its question was answered with Save ($QUORVANE_QUIT_FILE), holds the take: the camera's
# keys, one per sample and one for the start, and the recorded inputs in the scene tag.
import os
import sys

import bpy

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from blender_testing import CAMERA, check, curves, instance_tag  # noqa: E402

path = os.environ.get("QUORVANE_QUIT_FILE") or os.path.join(os.environ["TMPDIR"], "quit.blend")
check(os.path.isfile(path), "Blender left no file at %s" % path)
bpy.ops.wm.open_mainfile(filepath=path)
camera = bpy.data.objects.get(CAMERA + "_camera")
check(camera is not None, "the session file has no camera")
keyed = curves(camera)
check(("location", 0) in keyed and len(keyed[("location", 0)].keyframe_points) >= 2,
      "the session file lacks the take's keys")
text = bpy.data.texts.get("Quorvane Scene")
tag = instance_tag(text.as_string(), CAMERA) if text is not None else None
check(tag is not None and tag.find("recordedinputvalues") is not None and
      len(tag.find("recordedinputvalues")) > 0, "the session file lacks the recorded inputs")
print("quit during a take kept %d keys" % len(keyed[("location", 0)].keyframe_points))
