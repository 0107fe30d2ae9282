# Blender's side of the adaptor: the callbacks the adaptor library calls to reach the scene
# (one method per field of QvnbScene, see shim.py). Objects are found by their key: the value of
# the custom property below on the objects the adaptor made, "=" and the name on any other.
import array
import time

import bpy
import mathutils

from . import shim

# The custom properties on the objects the adaptor makes: the object's key, and the name of
# the tool's node it stands for (removed when the tool lets go of the object).
KEY_PROPERTY = "quorvane_node"
NODE_PROPERTY = "quorvane_name"
# The scenes' property holding the number of the last core operation in their state.
STAMP_PROPERTY = "quorvane_hold"
# Redraws during a take: Blender's drawing competes with the sampling.
REDRAW_INTERVAL = 1.0 / 30.0
LINEAR = 1  # Blender's keyframe interpolation enum value for LINEAR
SAME_FRAME = 1e-4


def key_of(obj):
    key = obj.get(KEY_PROPERTY)
    return key if isinstance(key, str) and key else "=" + obj.name


def _matrix(values):
    return mathutils.Matrix([values[0:4], values[4:8], values[8:12], values[12:16]])


def _flat(matrix):
    return [value for row in matrix for value in row]


# How far a key may lie from the pose already there and still count as that pose: a few steps of
# single precision.
START_POSE_ROUNDING = 1e-6
READ_FRAMES_KEPT = 8


class BlenderScene:
    """The callbacks, with a small cache from keys to object names."""

    def __init__(self, notice=None):
        self._names = {}
        self._notice = notice
        self._last_redraw = 0.0
        # The channels the core last read of each object, by frame (a few frames per object).
        self._read = {}
        # Set by the pump while a take runs (unless the preferences ask for every redraw); None
        # outside a take, until the pump has looked the preference up.
        self.throttle_redraws = None

    # Finding objects.
    def find(self, key):
        if isinstance(key, bytes):
            key = key.decode("utf-8")
        objects = bpy.data.objects
        if key.startswith("="):
            return objects.get(key[1:])
        name = self._names.get(key)
        if name is not None:
            obj = objects.get(name)
            if obj is not None and obj.get(KEY_PROPERTY) == key:
                return obj
        for obj in objects:
            if obj.get(KEY_PROPERTY) == key:
                self._names[key] = obj.name
                return obj
        return None

    def list_objects(self, buffer, capacity):
        scene = bpy.context.scene
        keys = [key_of(obj) for obj in scene.objects] if scene is not None else []
        return shim.put_string(buffer, capacity, "\n".join(keys))

    def object_info(self, key, info):
        obj = self.find(key)
        if obj is None:
            return 0
        out = info.contents
        out.name = obj.name.encode("utf-8")[:511]
        out.data_name = obj.data.name.encode("utf-8")[:511] if obj.data is not None else b""
        out.parent = key_of(obj.parent).encode("utf-8")[:511] if obj.parent is not None else b""
        node = obj.get(NODE_PROPERTY)
        out.core_name = node.encode("utf-8")[:511] if isinstance(node, str) else b""
        out.type = obj.type.encode("ascii")[:31]
        out.visible = int(not obj.hide_viewport and not obj.hide_get())
        out.child_count = len(obj.children)
        if obj.type == "CAMERA":
            out.fov_degrees = obj.data.angle_x * 180.0 / 3.141592653589793
        if obj.type == "EMPTY":
            out.empty_size = obj.empty_display_size
        return 1

    def object_child(self, key, index, buffer, capacity):
        obj = self.find(key)
        if obj is None or not 0 <= index < len(obj.children):
            return 0
        return shim.put_string(buffer, capacity, key_of(obj.children[index]))

    # Transforms.
    @staticmethod
    def channels_at(obj, frame):
        """The object's location, rotation and scale at `frame` from its F-curves (current values
        where a channel has none), and the rotation's path."""
        mode = obj.rotation_mode
        rotation_path = "rotation_quaternion" if mode == "QUATERNION" else (
            "rotation_axis_angle" if mode == "AXIS_ANGLE" else "rotation_euler")
        channels = {"location": list(obj.location), rotation_path: list(getattr(obj, rotation_path)),
                    "scale": list(obj.scale)}
        animation = obj.animation_data
        if animation is not None and animation.action is not None:
            for curve in animation.action.fcurves:
                values = channels.get(curve.data_path)
                if values is not None and curve.array_index < len(values):
                    values[curve.array_index] = curve.evaluate(frame)
        return channels, rotation_path

    @classmethod
    def basis_at(cls, obj, frame):
        """The object's own transform at `frame` from its F-curves; current values where a
        channel has none."""
        mode = obj.rotation_mode
        channels, rotation_path = cls.channels_at(obj, frame)
        rotation = channels[rotation_path]
        if mode == "QUATERNION":
            turn = mathutils.Quaternion(rotation)
        elif mode == "AXIS_ANGLE":
            turn = mathutils.Quaternion(rotation[1:], rotation[0])
        else:
            turn = mathutils.Euler(rotation, mode)
        return mathutils.Matrix.LocRotScale(channels["location"], turn, channels["scale"])

    def _world_at(self, obj, frame):
        local = obj.matrix_parent_inverse @ self.basis_at(obj, frame)
        return local if obj.parent is None else self._world_at(obj.parent, frame) @ local

    def object_transforms(self, key, frame, local, world):
        obj = self.find(key)
        if obj is None:
            return 0
        read = self._read.setdefault(obj.name, {})
        if len(read) >= READ_FRAMES_KEPT:
            read.pop(next(iter(read)))
        read[round(frame, 4)] = self.channels_at(obj, frame)
        relative = obj.matrix_parent_inverse @ self.basis_at(obj, frame)
        shim.put_matrix(local, _flat(relative))
        placed = relative if obj.parent is None else self._world_at(obj.parent, frame) @ relative
        shim.put_matrix(world, _flat(placed))
        return 1 if obj.parent is None else 2

    def object_key_space(self, key, space):
        obj = self.find(key)
        if obj is None:
            return -1
        if obj.parent is None:
            return 0
        shim.put_matrix(space, _flat(obj.matrix_parent_inverse.inverted_safe()))
        return 1

    def object_mesh(self, key, vertices, vertex_room, triangles, triangle_room, vertex_count,
                    triangle_count):
        obj = self.find(key)
        if obj is None or obj.type != "MESH":
            return 0
        mesh = obj.data
        mesh.calc_loop_triangles()
        vertex_count[0] = len(mesh.vertices)
        triangle_count[0] = len(mesh.loop_triangles)
        if vertex_room >= len(mesh.vertices) and vertex_room > 0:
            for i, vertex in enumerate(mesh.vertices):
                vertices[3 * i], vertices[3 * i + 1], vertices[3 * i + 2] = vertex.co
        if triangle_room >= len(mesh.loop_triangles) and triangle_room > 0:
            for i, triangle in enumerate(mesh.loop_triangles):
                triangles[3 * i], triangles[3 * i + 1], triangles[3 * i + 2] = triangle.vertices
        return 1

    # Making, renaming and removing objects.
    def create_object(self, core_name, key, kind, fov, buffer, capacity):
        core_name, key = core_name.decode("utf-8"), key.decode("utf-8")
        data = None
        if kind == shim.OBJECT_CAMERA:
            data = bpy.data.cameras.new(core_name)
            data.sensor_fit = "HORIZONTAL"
            data.lens_unit = "FOV"
            data.angle_x = fov * 3.141592653589793 / 180.0
        obj = bpy.data.objects.new(core_name, data)
        if data is None:
            obj.empty_display_type = "PLAIN_AXES"
        obj[KEY_PROPERTY] = key
        obj[NODE_PROPERTY] = core_name
        # Where the user adds things: the active collection, at the 3D cursor.
        layer = bpy.context.view_layer
        collection = layer.active_layer_collection.collection if layer is not None else None
        (collection or bpy.context.scene.collection).objects.link(obj)
        obj.location = bpy.context.scene.cursor.location
        self._names[key] = obj.name
        return shim.put_string(buffer, capacity, obj.name)

    def rename_object(self, key, name, buffer, capacity):
        obj = self.find(key)
        if obj is None:
            return 0
        name = name.decode("utf-8")
        obj.name = name
        if NODE_PROPERTY in obj:
            obj[NODE_PROPERTY] = name
        self._names[key.decode("utf-8")] = obj.name
        return shim.put_string(buffer, capacity, obj.name)

    def release_object(self, key):
        obj = self.find(key)
        if obj is not None and NODE_PROPERTY in obj:
            del obj[NODE_PROPERTY]

    def delete_object(self, key):
        obj = self.find(key)
        if obj is None:
            return
        data = obj.data
        bpy.data.objects.remove(obj)
        if data is not None and data.users == 0:
            bpy.data.batch_remove((data,))

    def unlink_child(self, parent, child):
        parent_obj, child_obj = self.find(parent), self.find(child)
        if parent_obj is None or child_obj is None or child_obj.parent != parent_obj:
            return
        # It stays where it is in the world.
        world = child_obj.matrix_world.copy()
        child_obj.parent = None
        child_obj.matrix_world = world

    # Keys.
    def write_keys(self, key, count, frames, bases, clear_from, clear_to):
        obj = self.find(key)
        if obj is None or count <= 0:
            return
        frames = frames[:count]
        if obj.rotation_mode == "AXIS_ANGLE":
            obj.rotation_mode = "XYZ"
        mode = obj.rotation_mode
        quaternion = mode == "QUATERNION"
        rotation_path = "rotation_quaternion" if quaternion else "rotation_euler"
        width = 4 if quaternion else 3
        # Each Euler continues from the one before, so a turn past 180 degrees does not flip.
        previous = self.basis_at(obj, frames[0]).to_euler(mode) if not quaternion else None
        flat = bases[:16 * count]
        Matrix = mathutils.Matrix
        # One row of channel values per key, turned into one column per channel at the end: a
        # take of several cameras writes thousands of keys here.
        rows = []
        add = rows.append
        for i in range(0, 16 * count, 16):
            location, rotation, scale = Matrix((flat[i:i + 4], flat[i + 4:i + 8],
                                                flat[i + 8:i + 12], flat[i + 12:i + 16])).decompose()
            if not quaternion:
                rotation = rotation.to_euler(mode, previous)
                previous = rotation
            add((*location, *rotation, *scale))
        columns = [list(column) for column in zip(*rows)]
        self._keep_start_pose(obj, frames[0], rotation_path, columns)
        animation = obj.animation_data or obj.animation_data_create()
        if animation.action is None:
            animation.action = bpy.data.actions.new(obj.name + "Action")
        action = animation.action
        paths = [("location", i) for i in range(3)] + [(rotation_path, i) for i in range(width)] + \
            [("scale", i) for i in range(3)]
        for (path, index), values in zip(paths, columns):
            self._write_channel(action, path, index, frames, values, clear_from, clear_to)

    def _keep_start_pose(self, obj, frame, rotation_path, columns):
        """A take or resimulation keys its start pose first: the pose its tool read there, turned
        into the tool's own terms and back. Taken apart again into single-precision channels it
        can land a step off what was read, and every resimulation from that key would drift a
        step further; values within that rounding keep the ones read."""
        # What the tool read there when it started; the object itself has moved since. A flush
        # that goes on with a take whose start was written before begins with a sample, which
        # nothing read: its keys stay as the tool gave them.
        read = self._read.get(obj.name, {}).get(round(frame, 4))
        if read is None:
            return
        channels, path = read
        if path != rotation_path:
            return
        scene = channels["location"] + channels[rotation_path] + channels["scale"]
        for column, value in zip(columns, scene):
            if abs(column[0] - value) <= START_POSE_ROUNDING * max(1.0, abs(value)):
                column[0] = value

    @staticmethod
    def _write_channel(action, path, index, frames, values, clear_from, clear_to):
        curve = action.fcurves.find(path, index=index)
        n = len(curve.keyframe_points) if curve is not None else 0
        co, left, right = (array.array("f", [0.0]) * (2 * n) for _ in range(3))
        kinds = array.array("i", [0]) * n
        if n:
            points = curve.keyframe_points
            points.foreach_get("co", co)
            points.foreach_get("handle_left", left)
            points.foreach_get("handle_right", right)
            points.foreach_get("interpolation", kinds)
        # Old keys inside the cleared range and at the new keys' frames make way; the others are
        # kept, as those before the new keys, after them, or (rarely) between them.
        first, last = frames[0] - SAME_FRAME, frames[-1] + SAME_FRAME
        new_frames = sorted(frames)
        clearing = clear_from <= clear_to
        before, after, between = [], [], []
        for i in range(n):
            frame = co[2 * i]
            if clearing and clear_from <= frame <= clear_to:
                continue
            if frame < first:
                before.append(i)
            elif frame > last:
                after.append(i)
            elif not _near(new_frames, frame):
                between.append(i)
        # The new keys: linear, their handles on the keys (frames come in order).
        added = array.array("f", [0.0]) * (2 * len(frames))
        added[0::2] = array.array("f", frames)
        added[1::2] = array.array("f", values)
        added_kinds = array.array("i", [LINEAR]) * len(frames)
        if between:
            points = [(co[2 * i], co[2 * i + 1], left[2 * i], left[2 * i + 1], right[2 * i],
                       right[2 * i + 1], kinds[i]) for i in before + between + after]
            points += [(f, v, f, v, f, v, LINEAR) for f, v in zip(frames, values)]
            points.sort(key=lambda point: point[0])
            new_co = array.array("f", [x for p in points for x in p[0:2]])
            new_left = array.array("f", [x for p in points for x in p[2:4]])
            new_right = array.array("f", [x for p in points for x in p[4:6]])
            new_kinds = array.array("i", [p[6] for p in points])
        else:
            def pairs(values, indexes):
                return array.array("f", [x for i in indexes for x in values[2 * i:2 * i + 2]])

            new_co = pairs(co, before) + added + pairs(co, after)
            new_left = pairs(left, before) + added + pairs(left, after)
            new_right = pairs(right, before) + added + pairs(right, after)
            new_kinds = array.array("i", [kinds[i] for i in before]) + added_kinds + \
                array.array("i", [kinds[i] for i in after])
        count = len(new_kinds)
        if curve is not None and count < n:
            action.fcurves.remove(curve)
            curve = None
        if curve is None:
            curve = action.fcurves.new(path, index=index, action_group="Object Transforms")
        points = curve.keyframe_points
        if count > len(points):
            points.add(count - len(points))
        points.foreach_set("co", new_co)
        points.foreach_set("handle_left", new_left)
        points.foreach_set("handle_right", new_right)
        points.foreach_set("interpolation", new_kinds)
        curve.update()

    def show_bases(self, count, keys, bases):
        for i, key in enumerate(keys.decode("utf-8").split("\n")[:count]):
            obj = self.find(key)
            if obj is not None:
                obj.matrix_basis = _matrix(bases[16 * i:16 * i + 16])

    # The clock.
    def frame_rate(self):
        render = bpy.context.scene.render
        return render.fps / render.fps_base if render.fps_base > 0 else float(render.fps)

    def current_frame(self):
        scene = bpy.context.scene
        return scene.frame_current + scene.frame_subframe

    def set_frame(self, frame):
        whole = int(frame // 1)
        bpy.context.scene.frame_set(whole, subframe=frame - whole)

    def get_range(self, first, last):
        scene = bpy.context.scene
        first[0], last[0] = float(scene.frame_start), float(scene.frame_end)

    def set_range(self, first, last):
        scene = bpy.context.scene
        scene.frame_start, scene.frame_end = first, last

    def redraw(self):
        now = time.monotonic()
        if self.throttle_redraws and now - self._last_redraw < REDRAW_INTERVAL:
            return
        self._last_redraw = now
        manager = bpy.context.window_manager
        if manager is None:
            return
        for window in manager.windows:
            for area in window.screen.areas:
                area.tag_redraw()

    # Undo.
    def undo(self):
        return int("FINISHED" in bpy.ops.ed.undo())

    def push_undo(self, name, stamp):
        # Every scene carries the stamp, so switching scenes between steps does not lose it.
        for scene in bpy.data.scenes:
            scene[STAMP_PROPERTY] = stamp
        bpy.ops.ed.undo_push(message=name.decode("utf-8"))

    def scene_stamp(self):
        scene = bpy.context.scene
        return int(scene.get(STAMP_PROPERTY, 0)) if scene is not None else 0

    def notice(self, level, text):
        level, text = level.decode("utf-8"), text.decode("utf-8", "replace")
        if self._notice is not None:
            self._notice(level, text)
        else:
            print("Quorvane:", text)


def _near(sorted_frames, frame):
    import bisect
    i = bisect.bisect_left(sorted_frames, frame - SAME_FRAME)
    return i < len(sorted_frames) and abs(sorted_frames[i] - frame) <= SAME_FRAME
