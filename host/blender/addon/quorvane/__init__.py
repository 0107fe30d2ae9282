# The Quorvane add-on: attaches the Quorvane core to Blender, pumps it, and offers recording,
# slow motion, resimulation and the scene's tools in the 3D viewport's sidebar and in
# Object > Animation > Quorvane. Pure Python: the adaptor library beside it is loaded with
# ctypes, so one copy serves every Blender whatever its Python.
bl_info = {
    "name": "Quorvane",
    "author": "Quorvane",
    "version": (9, 2, 1),
    "blender": (3, 4, 0),
    "location": "3D Viewport > Sidebar > Quorvane; Object > Animation > Quorvane",
    "description": "Record camera and object motion from game controllers in real time",
    "doc_url": "file:///usr/share/doc/quorvane/animators.md#recording-in-blender",
    "tracker_url": "file:///usr/share/doc/quorvane/animators.md#reporting-a-problem",
    "category": "Animation",
}

from . import panel, session  # noqa: E402


def register():
    panel.register()
    panel.restore_preferences()
    session.start()


def unregister():
    session.stop()
    panel.unregister()
