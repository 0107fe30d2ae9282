# Shared steps of the Blender adaptor's test scripts: enable the staged add-on, pump the core as
# Blender's timer would, bind the simulated gamepad to an orbit camera, record a take.
import math
import os
import sys
import time
import xml.etree.ElementTree as ET

import bpy

STAGE = os.environ["QUORVANE_INSTALL_ROOT"]
WORK = os.environ["QUORVANE_TEST_WORK"]
# The staged add-on, or a copy of it somewhere else ($QUORVANE_TEST_ADDONS).
ADDONS = os.environ.get("QUORVANE_TEST_ADDONS", os.path.join(STAGE, "quorvane", "blender", "addons"))
sys.path.insert(0, ADDONS)

import quorvane  # noqa: E402
from quorvane import session  # noqa: E402

CAMERA = "Take Camera_01"
# The orbit camera turns this many degrees per second at full pan.
TURN_SPEED = 90.0
# The scripted stick (pan_gamepad.txt) through a binding's default response: its dead zone of
# 0.1 cut out and the rest stretched back to full scale.
STICK = (0.55 - 0.1) / (1.0 - 0.1)


def check(condition, message):
    if not condition:
        raise AssertionError(message)


def enable():
    # Blender's window pushes the state of a freshly opened file as its first undo step; a
    # headless session starts without one, so there would be nothing to undo back to.
    bpy.ops.ed.undo_push(message="Original")
    quorvane.register()
    core = session.get()
    check(core is not None, "the add-on did not attach: " + session.last_error())
    # Blender's timer would pump the core right away; an open file's tools come back then.
    session.pump()
    return core


def notices():
    """Every notice the add-on reported so far, as (level, text)."""
    return list(session.notices)


def pump_for(seconds):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        session.pump()
        time.sleep(0.004)


def instance_tags(root):
    for tag in root.iter("QVT_Plugin"):
        yield tag


def instance_tag(text, name):
    for tag in instance_tags(ET.fromstring(text)):
        if tag.findtext("name") == name:
            return tag
    return None


def load_as(core, tag, name, multiplier=None):
    """The camera of an orbit camera's tag loaded again as `name`, its pan bound to the simulated
    gamepad's left stick x, the way a host brings back an instance with its bindings."""
    for dropped in ("name", "nodeinfo", "masternode", "QVT_Plugin"):
        for child in tag.findall(dropped):
            tag.remove(child)
    ET.SubElement(tag, "name").text = name
    bind_pan(tag, multiplier)
    wrapper = ET.Element("QVT")
    wrapper.append(tag)
    check(core.load_scene(ET.tostring(wrapper, encoding="unicode")), name + " did not load")
    return bpy.data.objects.get(name + "_camera")


def load_bound_camera(core):
    """A new orbit camera named CAMERA, loaded with its pan bound by load_as()."""
    template = core.create_instance("Orbit Camera")
    check(template != "", "no Orbit Camera tool")
    tag = instance_tag(core.save_scene(), template)
    core.delete_instance(template)
    camera = load_as(core, tag, CAMERA)
    # Loading instances is no undo step of the core's (a file load is Blender's own); the state
    # with the camera is pushed here, as Blender does after opening a file.
    bpy.ops.ed.undo_push(message="Load camera")
    return camera


def bind_pan(tag, multiplier=None):
    for prop in tag.find("inputprofile/profile").findall("property"):
        if prop.get("name") != "Pan":
            continue
        if prop.find("control") is None:
            ET.SubElement(prop, "control", device="Simulated Gamepad", type="axis", index="0")
        if multiplier is not None:
            for old in prop.findall("multiplier"):
                prop.remove(old)
            ET.SubElement(prop, "multiplier").text = str(multiplier)


def record(core, seconds):
    check(core.start_recording() == 0, "recording did not start")
    pump_for(seconds)
    check(core.stop_recording() == 0, "recording did not stop")
    session.pump()
    return core.takes()[-1]


def curves(obj):
    if obj.animation_data is None or obj.animation_data.action is None:
        return {}
    return {(c.data_path, c.array_index): c for c in obj.animation_data.action.fcurves}


def key_frames(obj, channel=("location", 0)):
    """The frames of the object's keys on one channel (none without a curve there)."""
    curve = curves(obj).get(channel)
    return [k.co[0] for k in curve.keyframe_points] if curve is not None else []


def recorded_inputs(scene_text, name=CAMERA):
    """The recorded input curves in the instance's tag of a scene: none without tag or curves."""
    tag = instance_tag(scene_text, name)
    found = tag.find("recordedinputvalues") if tag is not None else None
    return [i.text for i in found] if found is not None else []


def yaw_degrees(location):
    """The orbit camera's yaw from its place: it circles the origin in Blender's ground plane."""
    return math.degrees(math.atan2(location[0], -location[1]))


def unwrapped(angles):
    out = [angles[0]]
    for angle in angles[1:]:
        step = (angle - out[-1] + 180.0) % 360.0 - 180.0
        out.append(out[-1] + step)
    return out


def pan_rate(obj):
    """Degrees per second the camera turned between its first sample's key and its last (the
    key before them holds the pose the take started from)."""
    keyed = curves(obj)
    xs = keyed[("location", 0)].keyframe_points[1:]
    ys = keyed[("location", 1)].keyframe_points[1:]
    fps = bpy.context.scene.render.fps / bpy.context.scene.render.fps_base
    yaws = unwrapped([yaw_degrees((x.co[1], y.co[1])) for x, y in zip(xs, ys)])
    seconds = (xs[-1].co[0] - xs[0].co[0]) / fps
    return (yaws[-1] - yaws[0]) / seconds


def all_keys(obj):
    """Every key of the object as {(path, index): [(frame, value), ...]}."""
    return {channel: [tuple(k.co) for k in curve.keyframe_points]
            for channel, curve in curves(obj).items()}


def same_keys(got, expected, tolerance=1e-9):
    """The first difference between two all_keys() results, or None."""
    if set(got) != set(expected):
        return "channels %s against %s" % (sorted(got), sorted(expected))
    for channel in sorted(expected):
        if len(got[channel]) != len(expected[channel]):
            return "%s: %d keys against %d" % (channel, len(got[channel]), len(expected[channel]))
        for a, b in zip(got[channel], expected[channel]):
            if abs(a[0] - b[0]) > tolerance or abs(a[1] - b[1]) > tolerance:
                return "%s: key %s against %s" % (channel, a, b)
    return None


def finish_resimulation(core):
    deadline = time.monotonic() + 30
    while core.is_recording() and time.monotonic() < deadline:
        check(not bpy.ops.quorvane.resimulate.poll(), "Resimulate is offered while it runs")
        session.pump()
        time.sleep(0.002)
    session.pump()
    check(not core.is_recording(), "the resimulation did not finish")
    check(bpy.ops.quorvane.resimulate.poll(), "Resimulate stays greyed after it finished")
