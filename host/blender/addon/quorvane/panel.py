# The add-on's face in Blender: a sidebar panel in the 3D viewport, the operators behind its
# buttons, the operator that hands keys to the core during a take, and the preferences.
import bpy

from . import session

# While a take runs, Blender's window is not a Qt window: its keys reach the core through the
# key operator below. Mouse and window events stay Blender's.
_NOT_KEYS = {"MOUSEMOVE", "INBETWEEN_MOUSEMOVE", "TIMER", "TIMER0", "TIMER1", "TIMER2",
             "TIMER_REPORT", "TIMERREGION", "WINDOW_DEACTIVATE", "NONE", "TIMER_JOBS",
             "TIMER_AUTOSAVE", "WHEELUPMOUSE", "WHEELDOWNMOUSE", "LEFTMOUSE", "RIGHTMOUSE",
             "MIDDLEMOUSE", "TRACKPADPAN", "TRACKPADZOOM", "MOUSEROTATE", "MOUSESMARTZOOM"}

_key_operator_running = False


class QuorvanePreferences(bpy.types.AddonPreferences):
    bl_idname = __package__

    core_library: bpy.props.StringProperty(
        name="Core library",
        description="libquorvane-core.so to attach; empty: the one of this add-on's install tree",
        subtype="FILE_PATH")

    def draw(self, context):
        self.layout.prop(self, "core_library")


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


def _attached(context=None):
    return session.get() is not None


class QUORVANE_OT_main_dialog(bpy.types.Operator):
    """Opens the Quorvane main dialog with the tools and the instances of the scene"""
    bl_idname = "quorvane.main_dialog"
    bl_label = "Main Dialog"

    poll = classmethod(lambda cls, context: _attached())

    def execute(self, context):
        session.get().open_main_dialog()
        return {"FINISHED"}


class QUORVANE_OT_record(bpy.types.Operator):
    """Starts a take of the ticked instances, or stops the running one"""
    bl_idname = "quorvane.record"
    bl_label = "Record"

    poll = classmethod(lambda cls, context: _attached())

    def execute(self, context):
        core = session.get()
        if core.is_recording():
            core.stop_recording()
        else:
            core.start_recording()
            _start_key_operator(context)
        return {"FINISHED"}


class QUORVANE_OT_resimulate(bpy.types.Operator):
    """Replays the recorded inputs over the scene's frame range and keys the result again"""
    bl_idname = "quorvane.resimulate"
    bl_label = "Resimulate"

    poll = classmethod(lambda cls, context: _attached() and not session.get().is_recording())

    def execute(self, context):
        scene = context.scene
        fps = scene.render.fps / scene.render.fps_base
        session.get().resimulate(scene.frame_start / fps, scene.frame_end / fps)
        return {"FINISHED"}


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
        taken = core.forward_key(event.type, event.value == "PRESS", event.ctrl, event.alt,
                                 event.shift)
        return {"RUNNING_MODAL"} if taken else {"PASS_THROUGH"}


def _start_key_operator(context):
    if _key_operator_running or context.window is None:
        return
    bpy.ops.quorvane.keys("INVOKE_DEFAULT")


def follow_recording(core):
    """Called by the pump: a take started from the main dialog gets its key operator too."""
    if _key_operator_running or not core.is_recording():
        return
    manager = bpy.context.window_manager
    if manager is None or not manager.windows:
        return
    with bpy.context.temp_override(window=manager.windows[0]):
        bpy.ops.quorvane.keys("INVOKE_DEFAULT")


def _slow_motion_changed(self, context):
    core = session.get()
    if core is not None:
        core.set_slow_motion(self.quorvane_slow_motion)


class VIEW3D_PT_quorvane(bpy.types.Panel):
    bl_space_type = "VIEW_3D"
    bl_region_type = "UI"
    bl_category = "Quorvane"
    bl_label = "Quorvane"

    def draw(self, context):
        layout = self.layout
        core = session.get()
        if core is None:
            layout.label(text="Core not attached", icon="ERROR")
            if session.last_error():
                layout.label(text=session.last_error())
            return
        layout.operator("quorvane.main_dialog", icon="WINDOW")
        recording = core.is_recording()
        layout.operator("quorvane.record", text="Stop" if recording else "Record",
                        icon="PAUSE" if recording else "REC", depress=recording)
        layout.label(text="Slow motion")
        row = layout.row(align=True)
        row.prop(context.window_manager, "quorvane_slow_motion", text="Step")
        row.label(text="speed 1/%d" % 2 ** (core.get_slow_motion() - 1))
        layout.operator("quorvane.resimulate", icon="FILE_REFRESH")
        takes = core.takes()
        if takes:
            last = takes[-1]
            box = layout.box()
            box.label(text="Last take: %d samples" % last["samples"])
            box.label(text="%d late, largest lag %.1f ms" % (last["late_samples"],
                                                             last["max_lag_ms"]))


_CLASSES = (QuorvanePreferences, QUORVANE_OT_notice, QUORVANE_OT_main_dialog,
            QUORVANE_OT_record, QUORVANE_OT_resimulate, QUORVANE_OT_keys, VIEW3D_PT_quorvane)


def register():
    for cls in _CLASSES:
        bpy.utils.register_class(cls)
    bpy.types.WindowManager.quorvane_slow_motion = bpy.props.IntProperty(
        name="Slow motion", description="Slow-motion step: 1 is real time, each step halves it",
        default=1, min=1, max=6, update=_slow_motion_changed)


def unregister():
    del bpy.types.WindowManager.quorvane_slow_motion
    for cls in reversed(_CLASSES):
        bpy.utils.unregister_class(cls)
