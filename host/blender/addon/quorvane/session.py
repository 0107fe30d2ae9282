# The one core of this Blender process: attached when the add-on is enabled, pumped by a timer,
# told about files, saves and undo through Blender's handlers, and detached when the add-on is
# disabled or Blender quits.
import atexit
import os

import bpy
from bpy.app.handlers import persistent

from . import quorvane_blender

# The text data block that keeps the core's scene tag inside the .blend file.
SCENE_TEXT = "Quorvane Scene"
PUMP_INTERVAL = 0.04

_session = None
_error = ""
# The open file's scene tag waits for the first pump: while Blender enables an add-on its data
# is out of reach.
_load_pending = False


def get():
    """The attached session, or None."""
    return _session if _session is not None and _session.attached else None


def last_error():
    if _session is not None and not _session.attached:
        return _session.error
    return _error


CORE_LIBRARY = os.path.join("lib", "libquorvane-core.so")


def core_library_path():
    """Where the core library is: $QUORVANE_CORE_LIBRARY, the add-on's preference, the install
    tree the add-on runs from (<tree>/blender/addons/quorvane), $QUORVANE_INSTALL_ROOT, or the
    usual install prefixes; the first that exists (the add-on's own tree when none does)."""
    explicit = os.environ.get("QUORVANE_CORE_LIBRARY", "")
    if explicit:
        return explicit
    addon = bpy.context.preferences.addons.get(__package__)
    chosen = getattr(addon.preferences, "core_library", "") if addon else ""
    if chosen:
        return bpy.path.abspath(chosen)
    own_tree = os.path.dirname(os.path.dirname(os.path.dirname(os.path.dirname(
        os.path.abspath(__file__)))))
    trees = [own_tree]
    if os.environ.get("QUORVANE_INSTALL_ROOT"):
        trees.append(os.path.join(os.environ["QUORVANE_INSTALL_ROOT"], "quorvane"))
    trees += ["/usr/local/lib/quorvane", "/usr/lib/quorvane"]
    for tree in trees:
        if os.path.isfile(os.path.join(tree, CORE_LIBRARY)):
            return os.path.join(tree, CORE_LIBRARY)
    return os.path.join(own_tree, CORE_LIBRARY)


def _notice(level, text):
    # Blender's report system is reached through an operator; without a window (a headless
    # run) the report goes to the console.
    try:
        bpy.ops.quorvane.notice(level=level, text=text)
    except (RuntimeError, AttributeError):
        print("Quorvane:", text)


def start():
    """Attaches the core; on failure the reason is kept for the panel and no handler is added."""
    global _session, _error, _load_pending
    if _session is not None:
        return _session
    # Qt must not try to reach a display that is not there.
    if not os.environ.get("DISPLAY") and not os.environ.get("WAYLAND_DISPLAY"):
        os.environ.setdefault("QT_QPA_PLATFORM", "offscreen")
    candidate = quorvane_blender.Session()
    if not candidate.attach(core_library_path()):
        _error = candidate.error
        print("Quorvane:", _error)
        return None
    _error = ""
    candidate.set_notice_handler(_notice)
    _session = candidate
    for handlers, handler in _HANDLERS:
        if handler not in handlers:
            handlers.append(handler)
    if not bpy.app.timers.is_registered(_pump):
        bpy.app.timers.register(_pump, first_interval=PUMP_INTERVAL, persistent=True)
    atexit.register(_at_exit)
    # Enabled on an open file: its instances come back as if it had just been loaded.
    _load_pending = True
    return _session


def stop():
    global _session
    if _session is None:
        return
    for handlers, handler in _HANDLERS:
        if handler in handlers:
            handlers.remove(handler)
    if bpy.app.timers.is_registered(_pump):
        bpy.app.timers.unregister(_pump)
    atexit.unregister(_at_exit)
    _session.flush_keys()
    _session.detach()
    _session = None


def _at_exit():
    global _session
    if _session is not None:
        _session.detach_at_exit()
        _session = None


def pump():
    """One turn of the host loop; tests and scripts that hold Blender's main thread call it."""
    global _load_pending
    if _session is None:
        return
    if _load_pending:
        _load_pending = False
        _session.load_scene(_scene_text())
    _session.pump()


def _pump():
    if _session is None:
        return None
    pump()
    from . import panel
    panel.follow_recording(_session)
    return PUMP_INTERVAL


def _scene_text():
    text = bpy.data.texts.get(SCENE_TEXT)
    return text.as_string() if text is not None else ""


@persistent
def _before_load(*_args):
    if _session is not None:
        _session.before_load()


@persistent
def _after_load(*_args):
    global _load_pending
    if _session is not None:
        _load_pending = False
        _session.after_load(_scene_text())


@persistent
def _before_save(*_args):
    if _session is None:
        return
    text = bpy.data.texts.get(SCENE_TEXT) or bpy.data.texts.new(SCENE_TEXT)
    text.use_fake_user = True
    text.clear()
    text.write(_session.save_scene())


@persistent
def _after_undo(*_args):
    if _session is not None:
        _session.after_undo()


@persistent
def _after_redo(*_args):
    if _session is not None:
        _session.after_redo()


_HANDLERS = (
    (bpy.app.handlers.load_pre, _before_load),
    (bpy.app.handlers.load_post, _after_load),
    (bpy.app.handlers.save_pre, _before_save),
    (bpy.app.handlers.undo_post, _after_undo),
    (bpy.app.handlers.redo_post, _after_redo),
)
