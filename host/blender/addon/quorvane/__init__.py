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

import os  # noqa: E402
import sys  # noqa: E402

from . import panel, session  # noqa: E402


def _keep_bytecode():
    """Blender never writes Python's bytecode cache, so each start compiled the add-on's
    sources again (over 10 ms of enabling it). The add-on writes the cache of its own folder,
    for the Python that runs it, whenever a source is newer than its cache; Python checks the
    cache against the source on every import. A folder it may not write is left as it is."""
    folder = os.path.dirname(os.path.abspath(__file__))
    tag = sys.implementation.cache_tag
    if tag is None:
        return
    for name in sorted(os.listdir(folder)):
        if not name.endswith(".py"):
            continue
        source = os.path.join(folder, name)
        cached = os.path.join(folder, "__pycache__", "%s.%s.pyc" % (name[:-3], tag))
        try:
            if os.path.getmtime(cached) >= os.path.getmtime(source):
                continue
        except OSError:
            pass
        import py_compile
        try:
            py_compile.compile(source, cfile=cached, doraise=True)
        except (OSError, py_compile.PyCompileError):
            return


def register():
    panel.register()
    panel.restore_preferences()
    session.start()
    _keep_bytecode()


def unregister():
    session.stop()
    panel.unregister()
