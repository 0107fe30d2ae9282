# The add-on's way into the adaptor library (libquorvane-blender.so) through ctypes. Nothing here
# imports bpy: the scene is whatever object is given to Shim.set_scene (scene.py for Blender), so
# this file runs in any Python 3 and is tested outside Blender too.
import ctypes
import os

ABI_VERSION = 1
LIBRARY = "libquorvane-blender.so"

OBJECT_EMPTY = 0
OBJECT_CAMERA = 1

BUSY_RECORDING = 1
BUSY_WINDOW = 2
BUSY_KEYS = 4

TOOL_CONFIGURATION = 0
TOOL_INPUT_SETTINGS = 1


class ObjectInfo(ctypes.Structure):
    _fields_ = [("name", ctypes.c_char * 512), ("data_name", ctypes.c_char * 512),
                ("parent", ctypes.c_char * 512), ("core_name", ctypes.c_char * 512),
                ("type", ctypes.c_char * 32), ("visible", ctypes.c_int32),
                ("child_count", ctypes.c_int32), ("fov_degrees", ctypes.c_double),
                ("empty_size", ctypes.c_double)]


class Take(ctypes.Structure):
    _fields_ = [("samples", ctypes.c_int32), ("late_samples", ctypes.c_int32),
                ("max_lag_ms", ctypes.c_double), ("first_sample_time", ctypes.c_double),
                ("last_sample_time", ctypes.c_double), ("lost_seconds", ctypes.c_double)]


class KeyCost(ctypes.Structure):
    _fields_ = [("keys", ctypes.c_uint64), ("flushes", ctypes.c_uint64),
                ("shows", ctypes.c_uint64), ("seconds", ctypes.c_double)]


_i32, _dbl, _str = ctypes.c_int32, ctypes.c_double, ctypes.c_char_p
_buf = ctypes.POINTER(ctypes.c_char)
_dptr = ctypes.POINTER(ctypes.c_double)
_iptr = ctypes.POINTER(ctypes.c_int32)

# Field order and types of QvnbScene after its size: name, result, arguments.
_CALLBACKS = (
    ("list_objects", _i32, (_buf, _i32)),
    ("object_info", _i32, (_str, ctypes.POINTER(ObjectInfo))),
    ("object_child", _i32, (_str, _i32, _buf, _i32)),
    ("object_transforms", _i32, (_str, _dbl, _dptr, _dptr)),
    ("object_key_space", _i32, (_str, _dptr)),
    ("object_mesh", _i32, (_str, _dptr, _i32, _iptr, _i32, _iptr, _iptr)),
    ("create_object", _i32, (_str, _str, _i32, _dbl, _buf, _i32)),
    ("rename_object", _i32, (_str, _str, _buf, _i32)),
    ("release_object", None, (_str,)),
    ("delete_object", None, (_str,)),
    ("unlink_child", None, (_str, _str)),
    ("write_keys", None, (_str, _i32, _dptr, _dptr, _dbl, _dbl)),
    ("show_bases", None, (_i32, _str, _dptr)),
    ("frame_rate", _dbl, ()),
    ("current_frame", _dbl, ()),
    ("set_frame", None, (_dbl,)),
    ("get_range", None, (_dptr, _dptr)),
    ("set_range", None, (_i32, _i32)),
    ("redraw", None, ()),
    ("undo", _i32, ()),
    ("push_undo", None, (_str, _i32)),
    ("scene_stamp", _i32, ()),
    ("notice", None, (_str, _str)),
)

_TYPES = {name: ctypes.CFUNCTYPE(result, *arguments) for name, result, arguments in _CALLBACKS}


class SceneTable(ctypes.Structure):
    _fields_ = [("size", ctypes.c_uint32)] + [(name, _TYPES[name]) for name, _, _ in _CALLBACKS]


# The library's functions: name, result, arguments.
_FUNCTIONS = (
    ("qvnb_abi_version", _i32, ()),
    ("qvnb_set_scene", _i32, (ctypes.POINTER(SceneTable),)),
    ("qvnb_attach", _i32, (_str,)),
    ("qvnb_detach", None, ()),
    ("qvnb_detach_at_exit", None, ()),
    ("qvnb_is_attached", _i32, ()),
    ("qvnb_error", _str, ()),
    ("qvnb_pump", _i32, ()),
    ("qvnb_flush_keys", None, ()),
    ("qvnb_waiting_keys", _i32, ()),
    ("qvnb_key_cost", None, (ctypes.POINTER(KeyCost),)),
    ("qvnb_save_scene", _str, ()),
    ("qvnb_before_load", None, ()),
    ("qvnb_after_load", _i32, (_str,)),
    ("qvnb_load_scene", _i32, (_str,)),
    ("qvnb_after_undo", None, ()),
    ("qvnb_after_redo", None, ()),
    ("qvnb_undo_step_count", _i32, ()),
    ("qvnb_undo_step_name", _str, (_i32,)),
    ("qvnb_undo_step_applied", _i32, (_i32,)),
    ("qvnb_take_count", _i32, ()),
    ("qvnb_take", _i32, (_i32, ctypes.POINTER(Take))),
    ("qvnb_open_main_dialog", _i32, ()),
    ("qvnb_close_main_dialog", _i32, ()),
    ("qvnb_is_main_dialog_open", _i32, ()),
    ("qvnb_start_recording", _i32, ()),
    ("qvnb_stop_recording", _i32, ()),
    ("qvnb_is_recording", _i32, ()),
    ("qvnb_get_slow_motion", _i32, ()),
    ("qvnb_set_slow_motion", None, (_i32,)),
    ("qvnb_resimulate", None, (_dbl, _dbl)),
    ("qvnb_create_instance", _str, (_str,)),
    ("qvnb_delete_instance", _i32, (_str,)),
    ("qvnb_has_instance", _i32, (_str,)),
    ("qvnb_get_setting_int", _i32, (_i32, _iptr)),
    ("qvnb_forward_key", _i32, (_str, _i32, _i32, _i32, _i32)),
    ("qvnb_installed_tools", _str, ()),
    ("qvnb_scene_tools", _str, ()),
    ("qvnb_create_tool", _str, (_i32,)),
    ("qvnb_select_tool", _i32, (_str,)),
    ("qvnb_open_tool_window", _str, (_str, _i32)),
    ("qvnb_main_window", ctypes.c_uint32, ()),
)


def _encode(text):
    return text.encode("utf-8")


def _decode(raw):
    return raw.decode("utf-8", "replace") if raw else ""


def put_string(buffer, capacity, text):
    """Writes `text` NUL-terminated into a callback's buffer when it fits; returns what the
    library expects back: the length plus one."""
    raw = _encode(text)
    if buffer and len(raw) < capacity:
        ctypes.memmove(buffer, raw + b"\0", len(raw) + 1)
    return len(raw) + 1


def put_matrix(pointer, values):
    for i, value in enumerate(values):
        pointer[i] = value


def _guarded(function, fallback, report):
    """A callback must never raise into C: a failure is reported and the fallback returned."""
    def call(*arguments):
        try:
            result = function(*arguments)
            return fallback if result is None else result
        except Exception as error:  # noqa: BLE001 - anything at all must stop here
            report(function.__name__, error)
            return fallback
    return call


class ShimError(RuntimeError):
    pass


class Shim:
    """The library, loaded once per process, with the scene callbacks it calls."""

    def __init__(self, path):
        if not os.path.isfile(path):
            raise ShimError("the adaptor library %s is missing" % path)
        try:
            self.lib = ctypes.CDLL(path, mode=os.RTLD_NOW | os.RTLD_LOCAL)
        except OSError as error:
            raise ShimError("cannot load %s: %s" % (path, error)) from None
        for name, result, arguments in _FUNCTIONS:
            try:
                function = getattr(self.lib, name)
            except AttributeError:
                raise ShimError("%s lacks %s: it belongs to another version" % (path, name)) \
                    from None
            function.restype = result
            function.argtypes = arguments
        version = self.lib.qvnb_abi_version()
        if version != ABI_VERSION:
            raise ShimError("%s speaks version %d, this add-on %d" % (path, version, ABI_VERSION))
        self.path = path
        self._table = None
        self.failures = []

    def _report(self, name, error):
        self.failures.append("%s: %s" % (name, error))
        print("Quorvane: %s failed: %s" % (name, error))

    def set_scene(self, scene):
        """Hands the library `scene`'s methods (one per QvnbScene field) as its callbacks."""
        fields = {"size": ctypes.sizeof(SceneTable)}
        for name, result, _ in _CALLBACKS:
            fallback = {None: None, _i32: 0, _dbl: 0.0}[result]
            fields[name] = _TYPES[name](_guarded(getattr(scene, name), fallback, self._report))
        # The table and its function objects must outlive every call the library makes.
        self._table = SceneTable(**fields)
        if not self.lib.qvnb_set_scene(ctypes.byref(self._table)):
            raise ShimError("the adaptor library refused the scene table")

    # The session.
    def attach(self, core_path):
        return bool(self.lib.qvnb_attach(_encode(core_path)))

    def detach(self):
        self.lib.qvnb_detach()

    def detach_at_exit(self):
        self.lib.qvnb_detach_at_exit()

    @property
    def attached(self):
        return bool(self.lib.qvnb_is_attached())

    @property
    def error(self):
        return _decode(self.lib.qvnb_error())

    def pump(self):
        return self.lib.qvnb_pump()

    def flush_keys(self):
        self.lib.qvnb_flush_keys()

    def waiting_keys(self):
        return self.lib.qvnb_waiting_keys()

    def key_cost(self):
        cost = KeyCost()
        self.lib.qvnb_key_cost(ctypes.byref(cost))
        return {"keys": cost.keys, "flushes": cost.flushes, "shows": cost.shows,
                "seconds": cost.seconds}

    # Files and undo.
    def save_scene(self):
        return _decode(self.lib.qvnb_save_scene())

    def before_load(self):
        self.lib.qvnb_before_load()

    def after_load(self, text):
        return bool(self.lib.qvnb_after_load(_encode(text)))

    def load_scene(self, text):
        return bool(self.lib.qvnb_load_scene(_encode(text)))

    def after_undo(self):
        self.lib.qvnb_after_undo()

    def after_redo(self):
        self.lib.qvnb_after_redo()

    def undo_steps(self):
        return [(_decode(self.lib.qvnb_undo_step_name(i)), bool(self.lib.qvnb_undo_step_applied(i)))
                for i in range(self.lib.qvnb_undo_step_count())]

    def take_count(self):
        return self.lib.qvnb_take_count()

    def takes(self):
        result = []
        for i in range(self.lib.qvnb_take_count()):
            take = Take()
            if self.lib.qvnb_take(i, ctypes.byref(take)):
                result.append({name: getattr(take, name) for name, _ in Take._fields_})
        return result

    # The core.
    def open_main_dialog(self):
        return self.lib.qvnb_open_main_dialog()

    def close_main_dialog(self):
        return self.lib.qvnb_close_main_dialog()

    def is_main_dialog_open(self):
        return bool(self.lib.qvnb_is_main_dialog_open())

    def start_recording(self):
        return self.lib.qvnb_start_recording()

    def stop_recording(self):
        return self.lib.qvnb_stop_recording()

    def is_recording(self):
        return bool(self.lib.qvnb_is_recording())

    def get_slow_motion(self):
        return self.lib.qvnb_get_slow_motion()

    def set_slow_motion(self, step):
        self.lib.qvnb_set_slow_motion(max(1, int(step)))

    def resimulate(self, start, end):
        self.lib.qvnb_resimulate(float(start), float(end))

    def create_instance(self, tool):
        return _decode(self.lib.qvnb_create_instance(_encode(tool)))

    def delete_instance(self, name):
        return self.lib.qvnb_delete_instance(_encode(name))

    def has_instance(self, name):
        return bool(self.lib.qvnb_has_instance(_encode(name)))

    def get_setting_int(self, setting):
        value = ctypes.c_int32()
        return value.value if self.lib.qvnb_get_setting_int(setting, ctypes.byref(value)) else None

    def forward_key(self, event_type, press, ctrl=False, alt=False, shift=False):
        return bool(self.lib.qvnb_forward_key(_encode(event_type), int(press), int(ctrl),
                                              int(alt), int(shift)))

    # The tools, through the main dialog's own menus and tree.
    def installed_tools(self):
        """The create menus' entries as dicts: item, menu, name, description."""
        tools = []
        for line in _decode(self.lib.qvnb_installed_tools()).splitlines():
            item, menu, name, description = (line.split("\t") + ["", "", ""])[:4]
            tools.append({"item": int(item), "menu": menu, "name": name,
                          "description": description})
        return tools

    def scene_tools(self):
        """The tool tree's lines, depth first, as (depth, name)."""
        lines = _decode(self.lib.qvnb_scene_tools()).splitlines()
        return [(int(depth), name) for depth, name in (line.split("\t", 1) for line in lines)]

    def create_tool(self, item):
        return _decode(self.lib.qvnb_create_tool(int(item)))

    def select_tool(self, name):
        return bool(self.lib.qvnb_select_tool(_encode(name)))

    def open_tool_window(self, name, which):
        return _decode(self.lib.qvnb_open_tool_window(_encode(name), int(which)))

    def main_window(self):
        return self.lib.qvnb_main_window()


_loaded = {}


def load(path=None):
    """The library beside this file (or at `path`), loaded once per process."""
    path = path or os.path.join(os.path.dirname(os.path.abspath(__file__)), LIBRARY)
    if path not in _loaded:
        _loaded[path] = Shim(path)
    return _loaded[path]
