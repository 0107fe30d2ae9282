# The session Blender left behind when it quit during a take (test_quit.py), or the file saved
# when its question was answered with Save ($QUORVANE_QUIT_FILE), holds the take: the camera's
# keys, one per sample and one for the start, and the recorded inputs in the scene tag.
import os
import sys

import bpy

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from blender_testing import CAMERA, check, key_frames, recorded_inputs  # noqa: E402

path = os.environ.get("QUORVANE_QUIT_FILE") or os.path.join(os.environ["TMPDIR"], "quit.blend")
check(os.path.isfile(path), "Blender left no file at %s" % path)
bpy.ops.wm.open_mainfile(filepath=path)
camera = bpy.data.objects.get(CAMERA + "_camera")
check(camera is not None, "the session file has no camera")
keys = key_frames(camera)
check(len(keys) >= 2, "the session file lacks the take's keys")
text = bpy.data.texts.get("Quorvane Scene")
check(text is not None and recorded_inputs(text.as_string()),
      "the session file lacks the recorded inputs")
print("quit during a take kept %d keys" % len(keys))
