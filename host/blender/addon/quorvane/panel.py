# The add-on's face in Blender: operators (each found by F3 through the Quorvane menu), the
# sidebar panel of the 3D viewport, the Quorvane menu under Object > Animation, the operator that
# hands keys to the core during a take, and the preferences.
import os

import bpy

from . import scene as blender_scene
from . import session
from . import shim

# While a take runs, Blender's window is not a Qt window: its keys reach the core through the
# key operator below. Mouse and window events stay Blender's.
_NOT_KEYS = {"MOUSEMOVE", "INBETWEEN_MOUSEMOVE", "TIMER", "TIMER0", "TIMER1", "TIMER2",
             "TIMER_REPORT", "TIMERREGION", "WINDOW_DEACTIVATE", "NONE", "TIMER_JOBS",
             "TIMER_AUTOSAVE", "WHEELUPMOUSE", "WHEELDOWNMOUSE", "LEFTMOUSE", "RIGHTMOUSE",
             "MIDDLEMOUSE", "TRACKPADPAN", "TRACKPADZOOM", "MOUSEROTATE", "MOUSESMARTZOOM"}
# A take that lost less than this much time says nothing about it (the last pump's delay).
LOST_WARNING_SECONDS = 0.2

_key_operator_running = False
_takes_seen = 0
# The undo step each take report belongs to (its index among the core's steps).
_take_steps = {}


def _settings_file():
    # Blender drops an add-on's preferences when it is disabled unless they were saved; the core
    # path is kept here as well, so disabling and enabling keeps it.
    folder = bpy.utils.user_resource("CONFIG", path="quorvane", create=True)
    return os.path.join(folder, "addon.json")


# json and textwrap are imported where they are used: enabling the add-on needs neither unless a
# path was kept or an error is shown, and each costs Blender's start several milliseconds.
def remembered_core_library():
    try:
        with open(_settings_file(), encoding="utf-8") as stored:
            import json
            return json.load(stored).get("core_library", "")
    except (OSError, ValueError):
        return ""


def _core_library_changed(self, context):
    try:
        with open(_settings_file(), "w", encoding="utf-8") as stored:
            import json
            json.dump({"core_library": self.core_library}, stored)
    except OSError as error:
        print("Quorvane: cannot keep the core path:", error)
    session.reconnect()


def _idle_interval_changed(self, context):
    session.IDLE_INTERVAL = self.idle_interval


def _wrapped(layout, text, icon="NONE"):
    """The whole text, over as many lines as it takes: an error is never cut."""
    import textwrap
    for i, line in enumerate(textwrap.wrap(text, 70) or [""]):
        layout.label(text=line, icon=icon if i == 0 else "BLANK1")


class QuorvanePreferences(bpy.types.AddonPreferences):
    bl_idname = __package__

    core_library: bpy.props.StringProperty(
        name="Core library",
        description="libquorvane-core.so to attach; empty: looked for in the usual install trees",
        subtype="FILE_PATH", update=_core_library_changed)
    idle_interval: bpy.props.FloatProperty(
        name="Idle pump interval",
        description="Seconds between the core's turns while nothing runs; a take always runs at "
                    "100 turns a second",
        default=session.IDLE_INTERVAL, min=0.02, max=1.0, update=_idle_interval_changed)
    full_redraw: bpy.props.BoolProperty(
        name="Redraw every view during a take",
        description="Off: views redraw at most 30 times a second while a take runs, so Blender's "
                    "drawing leaves time for sampling",
        default=False)

    def draw(self, context):
        layout = self.layout
        row = layout.row(align=True)
        row.prop(self, "core_library")
        row.operator("quorvane.reconnect", text="", icon="FILE_REFRESH")
        box = layout.box()
        if session.get() is not None:
            box.label(text="Connected to " + session.core_path(), icon="CHECKMARK")
        else:
            _wrapped(box, session.last_error() or "Not connected", icon="ERROR")
        layout.prop(self, "idle_interval")
        layout.prop(self, "full_redraw")
        layout.operator("quorvane.guide", icon="HELP")


class QUORVANE_OT_notice(bpy.types.Operator):
    """Shows a notice of the core in Blender's reports"""
    bl_idname = "quorvane.notice"
    bl_label = "Quorvane Notice"
    bl_options = {"INTERNAL"}

    level: bpy.props.StringProperty(default="INFO")
    text: bpy.props.StringProperty()

    def execute(self, context):
        level = self.level if self.level in {"INFO", "WARNING", "ERROR"} else "INFO"
        self.report({level}, "Quorvane: " + self.text)
        return {"FINISHED"}


def _attached(cls, context):
    return session.get() is not None


def _idle(cls, context):
    core = session.get()
    return core is not None and not core.is_recording()


class QUORVANE_OT_reconnect(bpy.types.Operator):
    """Looks for the core library again (the preference first) and attaches it"""
    bl_idname = "quorvane.reconnect"
    bl_label = "Quorvane Reconnect"

    def execute(self, context):
        if session.reconnect() is None:
            self.report({"ERROR"}, session.last_error())
            return {"CANCELLED"}
        self.report({"INFO"}, "Quorvane: connected to " + session.core_path())
        return {"FINISHED"}


class QUORVANE_OT_guide(bpy.types.Operator):
    """Opens the animator's guide of the installed Quorvane"""
    bl_idname = "quorvane.guide"
    bl_label = "Quorvane Guide"

    def execute(self, context):
        here = os.path.dirname(os.path.abspath(__file__))
        for path in (os.path.join(session.core_path(), "..", "..", "..", "..", "share", "doc",
                                  "quorvane", "animators.md"),
                     os.path.join(here, "..", "..", "..", "doc", "animators.md"),
                     "/usr/local/share/doc/quorvane/animators.md",
                     "/usr/share/doc/quorvane/animators.md"):
            if os.path.isfile(path):
                bpy.ops.wm.url_open(url="file://" + os.path.normpath(path))
                return {"FINISHED"}
        self.report({"ERROR"}, "Quorvane's guide is not installed (share/doc/quorvane)")
        return {"CANCELLED"}


class QUORVANE_OT_main_dialog(bpy.types.Operator):
    """Opens Quorvane's main dialog with the tools and the instances of the scene"""
    bl_idname = "quorvane.main_dialog"
    bl_label = "Quorvane Main Dialog"

    poll = classmethod(_attached)

    def execute(self, context):
        session.get().open_main_dialog()
        session.wake()
        return {"FINISHED"}


class QUORVANE_OT_record(bpy.types.Operator):
    """Starts a take of the ticked Quorvane tools, or stops the running one"""
    bl_idname = "quorvane.record"
    bl_label = "Quorvane Record / Stop"

    poll = classmethod(_attached)

    def execute(self, context):
        core = session.get()
        if core.is_recording():
            core.stop_recording()
        else:
            result = core.start_recording()
            if result != 0:
                self.report({"ERROR"}, "Quorvane could not start the take (code %d)" % result)
                return {"CANCELLED"}
            session.wake()
            _start_key_operator(context)
        return {"FINISHED"}


def _take_range(context):
    core = session.get()
    shown = shown_take(core) if core is not None else None
    if shown is None or shown[1]["samples"] == 0:
        return None
    take = shown[1]
    fps = context.scene.render.fps / context.scene.render.fps_base
    # The core samples from the frame after the range's start.
    return take["first_sample_time"] - 1.0 / fps, take["last_sample_time"]


class QUORVANE_OT_resimulate(bpy.types.Operator):
    """Replays the recorded inputs of the ticked tools and keys them again over a range"""
    bl_idname = "quorvane.resimulate"
    bl_label = "Quorvane Resimulate"
    bl_options = {"REGISTER"}

    range: bpy.props.EnumProperty(
        name="Range",
        items=(("TAKE", "Last Take", "The frames of the last take"),
               ("SCENE", "Scene", "The scene's frame range")),
        default="TAKE")

    poll = classmethod(_idle)

    def execute(self, context):
        scene = context.scene
        fps = scene.render.fps / scene.render.fps_base
        span = _take_range(context) if self.range == "TAKE" else None
        if self.range == "TAKE" and span is None:
            self.report({"ERROR"}, "No take to resimulate yet; choose the scene range")
            return {"CANCELLED"}
        start, end = span or (scene.frame_start / fps, scene.frame_end / fps)
        session.wake()
        session.get().resimulate(start, end)
        return {"FINISHED"}


def installed_tool(name):
    """The create menus' entry of the installed tool called `name`, or None."""
    core = session.get()
    for tool in core.installed_tools() if core is not None else []:
        if tool["name"] == name:
            return tool
    return None


class QUORVANE_OT_create_tool(bpy.types.Operator):
    """Creates a Quorvane tool; its objects land in the active collection at the 3D cursor"""
    bl_idname = "quorvane.create_tool"
    bl_label = "Quorvane Create Tool"
    bl_options = {"REGISTER"}

    tool: bpy.props.StringProperty(name="Tool", default="Orbit Camera",
                                   description="The name of an installed tool")

    poll = classmethod(_idle)

    def invoke(self, context, event):
        # Found by F3 without a tool: the menu of the installed tools to choose from.
        if self.properties.is_property_set("tool"):
            return self.execute(context)
        bpy.ops.wm.call_menu(name=QUORVANE_MT_create.bl_idname)
        return {"CANCELLED"}

    def execute(self, context):
        entry = installed_tool(self.tool)
        name = session.get().create_tool(entry["item"]) if entry is not None else ""
        if not name:
            self.report({"ERROR"}, "No installed Quorvane tool is called \"%s\"" % self.tool)
            return {"CANCELLED"}
        self.report({"INFO"}, "Quorvane: created " + name)
        return {"FINISHED"}


def _scene_tool(operator, context):
    """The named tool's line in the tool tree, or a report and None."""
    if any(name == operator.name for _, name in session.get().scene_tools()):
        return operator.name
    operator.report({"ERROR"}, "This scene has no Quorvane tool called \"%s\"" % operator.name)
    return None


class QUORVANE_OT_select_tool(bpy.types.Operator):
    """Selects the objects of a Quorvane tool, and the tool in the main dialog"""
    bl_idname = "quorvane.select_tool"
    bl_label = "Quorvane Select Tool"
    bl_options = {"REGISTER", "UNDO"}

    name: bpy.props.StringProperty(name="Tool")

    poll = classmethod(_attached)

    def execute(self, context):
        if _scene_tool(self, context) is None:
            return {"CANCELLED"}
        session.get().select_tool(self.name)
        prefix = self.name + "_"
        owned = [obj for obj in context.scene.objects
                 if str(obj.get(blender_scene.NODE_PROPERTY, "")).startswith(prefix)]
        if not owned:
            self.report({"WARNING"}, "%s has no objects in this scene" % self.name)
            return {"CANCELLED"}
        for obj in context.selected_objects:
            obj.select_set(False)
        for obj in owned:
            obj.select_set(True)
        context.view_layer.objects.active = owned[0]
        return {"FINISHED"}


class _ToolWindow:
    name: bpy.props.StringProperty(name="Tool")

    poll = classmethod(_attached)

    def execute(self, context):
        if _scene_tool(self, context) is None:
            return {"CANCELLED"}
        title = session.get().open_tool_window(self.name, self.which)
        if not title:
            self.report({"ERROR"}, self.refused % self.name)
            return {"CANCELLED"}
        session.wake()
        return {"FINISHED"}


class QUORVANE_OT_configure_tool(_ToolWindow, bpy.types.Operator):
    """Opens the configuration window of a Quorvane tool"""
    bl_idname = "quorvane.configure_tool"
    bl_label = "Quorvane Tool Configuration"
    which = shim.TOOL_CONFIGURATION
    refused = "%s has no configuration window"


class QUORVANE_OT_tool_inputs(_ToolWindow, bpy.types.Operator):
    """Opens the input settings of a Quorvane tool: which controls drive it"""
    bl_idname = "quorvane.tool_inputs"
    bl_label = "Quorvane Tool Input Settings"
    which = shim.TOOL_INPUT_SETTINGS
    refused = "%s has no input settings"


class QUORVANE_OT_keys(bpy.types.Operator):
    """Hands the keys typed into Blender to Quorvane while a take runs"""
    bl_idname = "quorvane.keys"
    bl_label = "Quorvane Keys"
    bl_options = {"INTERNAL"}

    def invoke(self, context, event):
        global _key_operator_running
        if _key_operator_running:
            return {"CANCELLED"}
        _key_operator_running = True
        context.window_manager.modal_handler_add(self)
        return {"RUNNING_MODAL"}

    def modal(self, context, event):
        global _key_operator_running
        core = session.get()
        if core is None or not core.is_recording():
            _key_operator_running = False
            return {"FINISHED", "PASS_THROUGH"}
        if event.type in _NOT_KEYS or event.value not in {"PRESS", "RELEASE"}:
            return {"PASS_THROUGH"}
        if event.value == "PRESS" and _quits(context, event):
            # The take ends first as its own undo step, so the quit's question about unsaved
            # changes covers it and the session Blender keeps on quitting holds it.
            session.stop_take("Blender is quitting")
            session.keep_scene_for_quit()
            return {"PASS_THROUGH"}
        taken = core.forward_key(event.type, event.value == "PRESS", event.ctrl, event.alt,
                                 event.shift)
        return {"RUNNING_MODAL"} if taken else {"PASS_THROUGH"}

    def cancel(self, context):
        # Blender drops modal operators when it closes: a take still running then was quit by a
        # way no key told of.
        global _key_operator_running
        _key_operator_running = False
        session.stop_take_at_quit()


def _quits(context, event):
    """Whether the key event runs Blender's Quit in the active key map."""
    keyconfig = context.window_manager.keyconfigs.active
    keymap = keyconfig.keymaps.get("Window") if keyconfig is not None else None
    for item in keymap.keymap_items if keymap is not None else ():
        if (item.idname == "wm.quit_blender" and item.active and item.type == event.type and
                bool(item.ctrl) == event.ctrl and bool(item.shift) == event.shift and
                bool(item.alt) == event.alt and bool(item.oskey) == event.oskey):
            return True
    return False


def _start_key_operator(context):
    if _key_operator_running or context.window is None:
        return
    bpy.ops.quorvane.keys("INVOKE_DEFAULT")


def lost_time_text(take):
    return ("%.1f s of the take were not sampled: Blender's loop ran slower than the frame "
            "rate. Close heavy views, hide objects with costly modifiers or lower the frame "
            "rate, then record again." % take["lost_seconds"])


def follow_recording(core):
    """Called by the pump: a take started from the main dialog gets its key operator too, and
    every finished take is reported."""
    # Once per turn of the pump: the take reports and undo steps are fetched only when a take
    # has ended since the last turn.
    if core.take_count() != _takes_seen:
        _note_new_takes(core)
    if _key_operator_running or not core.is_recording():
        return
    manager = bpy.context.window_manager
    if manager is None or not manager.windows:
        return
    with bpy.context.temp_override(window=manager.windows[0]):
        bpy.ops.quorvane.keys("INVOKE_DEFAULT")


def _note_new_takes(core):
    global _takes_seen
    takes = core.takes()
    steps = core.undo_steps()
    for index in range(_takes_seen, len(takes)):
        take = takes[index]
        if steps and steps[-1][0] == "Record":
            _take_steps[index] = len(steps) - 1
        if take["lost_seconds"] > LOST_WARNING_SECONDS:
            session._notice("WARNING", lost_time_text(take))
    _takes_seen = len(takes)


def shown_take(core):
    """The number and report of the latest take of this file that undo has not taken back."""
    takes, steps = core.takes(), core.undo_steps()
    for index in reversed(range(session.takes_of_earlier_files, len(takes))):
        step = _take_steps.get(index)
        if step is None or (step < len(steps) and steps[step] == ("Record", True)):
            return index + 1 - session.takes_of_earlier_files, takes[index]
    return None


def scene_tools():
    """The scene's tools as the main dialog's tree shows them: (depth, name), depth first."""
    core = session.get()
    return core.scene_tools() if core is not None else []


def _get_slow_motion(self):
    core = session.get()
    return core.get_slow_motion() if core is not None else 1


def _set_slow_motion(self, value):
    core = session.get()
    if core is not None:
        core.set_slow_motion(value)


class VIEW3D_PT_quorvane(bpy.types.Panel):
    bl_space_type = "VIEW_3D"
    bl_region_type = "UI"
    bl_category = "Quorvane"
    bl_label = "Quorvane"

    def draw(self, context):
        layout = self.layout
        core = session.get()
        if core is None:
            _wrapped(layout, session.last_error() or "Core not attached", icon="ERROR")
            layout.operator("quorvane.reconnect", icon="FILE_REFRESH")
            return
        recording = core.is_recording()
        layout.operator("quorvane.record", text="Stop" if recording else "Record",
                        icon="PAUSE" if recording else "REC", depress=recording)
        row = layout.row(align=True)
        row.prop(context.window_manager, "quorvane_slow_motion", text="Slow motion")
        row.label(text="speed 1/%d" % 2 ** (core.get_slow_motion() - 1))
        row = layout.row(align=True)
        row.operator("quorvane.resimulate", text="Resimulate Take", icon="FILE_REFRESH").range = "TAKE"
        row.operator("quorvane.resimulate", text="Scene Range").range = "SCENE"
        box = layout.box()
        box.label(text="Tools")
        for depth, name in scene_tools():
            row = box.row(align=True)
            for _ in range(depth):
                row.label(text="", icon="BLANK1")
            row.operator("quorvane.select_tool", text=name, icon="RESTRICT_SELECT_OFF").name = name
            row.operator("quorvane.configure_tool", text="", icon="PREFERENCES").name = name
            row.operator("quorvane.tool_inputs", text="", icon="OPTIONS").name = name
        row = box.row(align=True)
        row.menu(QUORVANE_MT_create.bl_idname, text="Create", icon="ADD")
        row.operator("quorvane.main_dialog", text="Main Dialog", icon="WINDOW")
        shown = shown_take(core)
        if shown is not None:
            number, last = shown
            box = layout.box()
            box.label(text="Take %d: %d samples, %d late, largest lag %.0f ms"
                      % (number, last["samples"], last["late_samples"], last["max_lag_ms"]))
            if last["lost_seconds"] > LOST_WARNING_SECONDS:
                _wrapped(box, lost_time_text(last), icon="ERROR")


class QUORVANE_MT_create(bpy.types.Menu):
    """The installed tools, as the main dialog's create menus offer them"""
    bl_idname = "QUORVANE_MT_create"
    bl_label = "Create Quorvane Tool"

    def draw(self, context):
        layout = self.layout
        core = session.get()
        tools = core.installed_tools() if core is not None else []
        if not tools:
            layout.label(text="No Quorvane tools are installed")
        menu = None
        for tool in tools:
            if menu is not None and tool["menu"] != menu:
                layout.separator()
            menu = tool["menu"]
            entry = layout.operator("quorvane.create_tool", text=tool["name"])
            entry.tool = tool["name"]


class QUORVANE_MT_menu(bpy.types.Menu):
    bl_idname = "QUORVANE_MT_menu"
    bl_label = "Quorvane"

    def draw(self, context):
        layout = self.layout
        layout.operator("quorvane.record", icon="REC")
        layout.operator("quorvane.resimulate", text="Resimulate Last Take").range = "TAKE"
        layout.operator("quorvane.resimulate", text="Resimulate Scene Range").range = "SCENE"
        layout.menu(QUORVANE_MT_create.bl_idname, icon="ADD")
        layout.operator("quorvane.main_dialog", icon="WINDOW")
        layout.separator()
        layout.operator("quorvane.reconnect")
        layout.operator("quorvane.guide", icon="HELP")


def _menu_entry(self, context):
    self.layout.menu(QUORVANE_MT_menu.bl_idname)


_CLASSES = (QuorvanePreferences, QUORVANE_OT_notice, QUORVANE_OT_reconnect, QUORVANE_OT_guide,
            QUORVANE_OT_main_dialog, QUORVANE_OT_record, QUORVANE_OT_resimulate,
            QUORVANE_OT_create_tool, QUORVANE_OT_select_tool, QUORVANE_OT_configure_tool,
            QUORVANE_OT_tool_inputs, QUORVANE_OT_keys, VIEW3D_PT_quorvane, QUORVANE_MT_create,
            QUORVANE_MT_menu)


def register():
    for cls in _CLASSES:
        bpy.utils.register_class(cls)
    bpy.types.WindowManager.quorvane_slow_motion = bpy.props.IntProperty(
        name="Slow motion", description="Slow-motion step: 1 is real time, each step halves it",
        min=1, max=6, get=_get_slow_motion, set=_set_slow_motion)
    bpy.types.VIEW3D_MT_object_animation.append(_menu_entry)
    session.follow_pump(follow_recording)


def restore_preferences():
    """The core path kept beside the preferences comes back after a disable and enable."""
    addon = bpy.context.preferences.addons.get(__package__)
    if addon is not None and not addon.preferences.core_library:
        remembered = remembered_core_library()
        if remembered:
            # Set without its update: the add-on attaches right after this.
            addon.preferences["core_library"] = remembered


def unregister():
    session.unfollow_pump(follow_recording)
    bpy.types.VIEW3D_MT_object_animation.remove(_menu_entry)
    del bpy.types.WindowManager.quorvane_slow_motion
    for cls in reversed(_CLASSES):
        bpy.utils.unregister_class(cls)
