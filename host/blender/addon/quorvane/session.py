# The one core of this Blender process: attached when the add-on is enabled, pumped by a timer,
# told about files, saves and undo through Blender's handlers, and detached when the add-on is
# disabled or Blender quits.
import atexit
import os

import bpy
from bpy.app.handlers import persistent

from . import scene as blender_scene
from . import shim

# The text data block that keeps the core's scene tag inside the .blend file.
SCENE_TEXT = "Quorvane Scene"
# The pump's pace. While a take, a resimulation or a core window is in use the core is pumped
# every 10 ms: at 60 fps a 40 ms turn covers two or three samples, and all but the first would be
# caught up late. At rest the interval doubles after every quiet turn up to IDLE_INTERVAL, so a
# Blender left open all day costs next to nothing; starting anything brings it back at once.
BUSY_INTERVAL = 0.01
IDLE_INTERVAL = 0.2
CORE_LIBRARY = "libquorvane-core.so"

_shim = None
_attached = False
_error = ""
_core_path = ""
_interval = BUSY_INTERVAL
_scene = None
# The open file's scene tag waits for the first pump: while Blender enables an add-on its data
# is out of reach.
_load_pending = False
# Notices of the core, newest last.
notices = []
# The take reports of files opened before the current one: the panel shows none of them.
takes_of_earlier_files = 0


def get():
    """The attached session, or None."""
    return _shim if _attached else None


def last_error():
    return _error


def core_path():
    return _core_path


def _preference(name, default=""):
    addon = bpy.context.preferences.addons.get(__package__)
    return getattr(addon.preferences, name, default) if addon is not None else default


def candidate_paths():
    """Where the core library may be, in the order looked at: the add-on's preference,
    $QUORVANE_CORE_LIBRARY, the install tree this add-on belongs to (the launcher's tree,
    <tree>/blender/addons/quorvane), $QUORVANE_INSTALL_ROOT, then the usual install trees."""
    paths = []
    chosen = _preference("core_library")
    if chosen:
        paths.append(("the add-on's preference", bpy.path.abspath(chosen)))
    if os.environ.get("QUORVANE_CORE_LIBRARY"):
        paths.append(("QUORVANE_CORE_LIBRARY", os.environ["QUORVANE_CORE_LIBRARY"]))
    here = os.path.dirname(os.path.abspath(__file__))
    own_tree = os.path.dirname(os.path.dirname(os.path.dirname(here)))
    trees = [("the add-on's install tree", own_tree)]
    if os.environ.get("QUORVANE_INSTALL_ROOT"):
        trees.append(("QUORVANE_INSTALL_ROOT",
                      os.path.join(os.environ["QUORVANE_INSTALL_ROOT"], "quorvane")))
    trees += [("~/.local", os.path.expanduser("~/.local/lib/quorvane")),
              ("/usr/local", "/usr/local/lib/quorvane"), ("/usr", "/usr/lib/quorvane")]
    paths += [(label, os.path.join(tree, "lib", CORE_LIBRARY)) for label, tree in trees]
    return paths


def find_core():
    """The first candidate that exists as (label, path); None and a full explanation when none
    does."""
    tried = []
    for label, path in candidate_paths():
        if os.path.isfile(path):
            return (label, path), ""
        tried.append("%s (%s)" % (path, label))
    return None, ("No Quorvane core library was found. Looked at: " + "; ".join(tried) +
                  ". Install Quorvane (make install, or the Debian package), or set the core "
                  "library's path in the add-on's preferences and press Reconnect.")


def _notice(level, text):
    notices.append((level, text))
    print("Quorvane:", text)
    # Blender's report system is reached through an operator; a headless run has none.
    try:
        bpy.ops.quorvane.notice(level=level, text=text)
    except (RuntimeError, AttributeError):
        pass


def start():
    """Attaches the core; on failure the reason is kept for the preferences and the panel."""
    global _shim, _attached, _error, _core_path, _load_pending, _scene
    if _attached:
        return _shim
    # Qt must not try to reach a display that is not there.
    if not os.environ.get("DISPLAY") and not os.environ.get("WAYLAND_DISPLAY"):
        os.environ.setdefault("QT_QPA_PLATFORM", "offscreen")
    try:
        _shim = shim.load()
    except shim.ShimError as error:
        _error = str(error)
        print("Quorvane:", _error)
        return None
    found, _error = find_core()
    if found is None:
        print("Quorvane:", _error)
        return None
    label, _core_path = found
    _scene = blender_scene.BlenderScene(_notice)
    _shim.set_scene(_scene)
    if not _shim.attach(_core_path):
        _error = "Cannot attach the core %s (from %s): %s" % (_core_path, label, _shim.error)
        print("Quorvane:", _error)
        return None
    _attached = True
    _error = ""
    for handlers, handler in _HANDLERS:
        if handler not in handlers:
            handlers.append(handler)
    wake()
    atexit.register(_at_exit)
    # Enabled on an open file: its instances come back as if it had just been loaded.
    _load_pending = True
    return _shim


def stop():
    global _attached
    for handlers, handler in _HANDLERS:
        if handler in handlers:
            handlers.remove(handler)
    if bpy.app.timers.is_registered(_pump):
        bpy.app.timers.unregister(_pump)
    if not _attached:
        return
    atexit.unregister(_at_exit)
    _shim.flush_keys()
    _shim.detach()
    _attached = False


def reconnect():
    """Detaches and attaches again with the current preference: a changed path takes effect."""
    if _attached and _shim.is_recording():
        _shim.stop_recording()
    stop()
    return start()


def _at_exit():
    global _attached
    if _attached:
        _shim.detach_at_exit()
        _attached = False


def wake():
    """Something starts (a take, a window): the pump runs at its busy pace from now on."""
    global _interval
    _interval = BUSY_INTERVAL
    if bpy.app.timers.is_registered(_pump):
        bpy.app.timers.unregister(_pump)
    bpy.app.timers.register(_pump, first_interval=BUSY_INTERVAL, persistent=True)


def pump():
    """One turn of the host loop; tests and scripts that hold Blender's main thread call it.
    Returns the adaptor's busy flags."""
    global _load_pending
    if not _attached:
        return 0
    if _load_pending:
        _load_pending = False
        _shim.load_scene(_scene_text())
    busy = _shim.pump()
    if not busy & shim.BUSY_RECORDING:
        _scene.throttle_redraws = None
    elif _scene.throttle_redraws is None:
        # Looked up once per take: the preferences are a search away on every turn.
        _scene.throttle_redraws = not _preference("full_redraw", False)
    return busy


def next_interval(busy, interval):
    """The pump's next interval after a turn with these busy flags."""
    if busy:
        return BUSY_INTERVAL
    return min(IDLE_INTERVAL, max(BUSY_INTERVAL, interval * 2))


_was_busy = 0
_pump_followers = []


def follow_pump(follower):
    """follower(core) runs after every turn of the pump while the core is attached."""
    if follower not in _pump_followers:
        _pump_followers.append(follower)


def unfollow_pump(follower):
    if follower in _pump_followers:
        _pump_followers.remove(follower)


def _pump():
    global _interval, _was_busy
    if not _attached:
        return None
    busy = pump()
    if (busy ^ _was_busy) & shim.BUSY_RECORDING:
        # A take or resimulation started or ended: the panel's buttons change with it.
        throttle, _scene.throttle_redraws = _scene.throttle_redraws, False
        _scene.redraw()
        _scene.throttle_redraws = throttle
    _was_busy = busy
    for follower in list(_pump_followers):
        follower(_shim)
    _interval = next_interval(busy, _interval)
    return _interval


def _scene_text():
    text = bpy.data.texts.get(SCENE_TEXT)
    return text.as_string() if text is not None else ""


def stop_take(why):
    """A take must end before Blender replaces or rewinds its data: it is stopped and keyed
    as its own undo step first."""
    if _attached and _shim.is_recording():
        _shim.stop_recording()
        _shim.pump()
        _notice("WARNING", "the take was stopped: %s" % why)


# Where Blender keeps the session it quit (File > Recover > Last Session): the folder above this
# session's temporary folder.
QUIT_FILE = "quit.blend"


def quit_file():
    return os.path.join(os.path.dirname(os.path.normpath(bpy.app.tempdir)), QUIT_FILE)


def keep_scene_for_quit():
    """Blender writes its last undo step as the session it quits: the tools' scene tag goes into
    the file's data as a step of its own, so that session carries the take's recorded inputs."""
    if _attached:
        _before_save()
        bpy.ops.ed.undo_push(message="Quorvane scene")


def stop_take_at_quit():
    """Blender is closing with a take running, by a way the add-on was not told of in time (the
    File menu, the window's close button): Blender has already written the last undo step to its
    quit file, without the take. The take is stopped and keyed, and the file's scenes are written
    there again with it, so File > Recover > Last Session brings the take back. Blender shows no
    more reports at this point: the console says what happened."""
    if not (_attached and _shim.is_recording()):
        return None
    _shim.stop_recording()
    _shim.pump()
    _before_save()
    path = quit_file()
    blocks = set(bpy.data.scenes) | set(bpy.data.texts) | set(bpy.data.objects)
    try:
        bpy.data.libraries.write(path, blocks, fake_user=True)
    except (OSError, RuntimeError, ValueError) as error:
        print("Quorvane: Blender quit during a take; the take could not be kept in %s: %s"
              % (path, error))
        return None
    print("Quorvane: Blender quit during a take; the take was stopped and kept in %s "
          "(File > Recover > Last Session)" % path)
    return path


@persistent
def _before_load(*_args):
    if _attached:
        stop_take("another file is opened")
        _shim.before_load()


@persistent
def _after_load(*_args):
    global _load_pending, takes_of_earlier_files
    if _attached:
        takes_of_earlier_files = len(_shim.takes())
        _load_pending = False
        _shim.after_load(_scene_text())


@persistent
def _before_save(*_args):
    if not _attached:
        return
    # Saved from the File menu during a take (its keys go to the core while it runs): the take
    # ends first, so the file holds it; the quit question's Save takes this way too.
    stop_take("the file is saved")
    text = bpy.data.texts.get(SCENE_TEXT) or bpy.data.texts.new(SCENE_TEXT)
    text.use_fake_user = True
    text.clear()
    text.write(_shim.save_scene())


@persistent
def _before_undo(*_args):
    # Undo from Blender's menu during a take (its keys go to the core while a take runs): the
    # take ends first as its own step, which is then what the undo takes back; redo brings it
    # back. The tool being recorded is never touched.
    stop_take("Undo was chosen")


@persistent
def _after_undo(*_args):
    if _attached:
        _shim.after_undo()


@persistent
def _after_redo(*_args):
    if _attached:
        _shim.after_redo()


_HANDLERS = (
    (bpy.app.handlers.load_pre, _before_load),
    (bpy.app.handlers.load_post, _after_load),
    (bpy.app.handlers.save_pre, _before_save),
    (bpy.app.handlers.undo_pre, _before_undo),
    (bpy.app.handlers.undo_post, _after_undo),
    (bpy.app.handlers.redo_post, _after_redo),
)
