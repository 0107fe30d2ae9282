# The add-on's Python layer in a Python other than Blender's: shim.py loads the adaptor library
# with ctypes and drives attach, create, a take of the simulated gamepad and detach through it.
# Blender is not here, so the scene is a small one in memory that records what the adaptor asks.
import importlib.util
import os
import sys
import time

STAGE = os.environ["QUORVANE_INSTALL_ROOT"]
ADDON = os.path.join(STAGE, "quorvane", "blender", "addons", "quorvane")
located = importlib.util.spec_from_file_location("quorvane_shim", os.path.join(ADDON, "shim.py"))
shim = importlib.util.module_from_spec(located)
located.loader.exec_module(shim)

IDENTITY = [1.0, 0, 0, 0, 0, 1.0, 0, 0, 0, 0, 1.0, 0, 0, 0, 0, 1.0]


def check(condition, message):
    if not condition:
        print("FAILED:", message)
        sys.exit(1)


class MemoryScene:
    """Objects by key, each with its name, the core's node name, its type and its keys."""

    def __init__(self):
        self.objects = {}
        self.frame = 1.0
        self.stamp = 0
        self.steps = []
        self.notices = []

    def list_objects(self, buffer, capacity):
        return shim.put_string(buffer, capacity, "\n".join(self.objects))

    def object_info(self, key, info):
        obj = self.objects.get(key.decode())
        if obj is None:
            return 0
        out = info.contents
        out.name, out.core_name = obj["name"].encode(), obj["core_name"].encode()
        out.type, out.visible, out.fov_degrees = obj["type"].encode(), 1, obj["fov"]
        return 1

    def object_child(self, key, index, buffer, capacity):
        return 0

    def object_transforms(self, key, frame, local, world):
        obj = self.objects.get(key.decode())
        if obj is None:
            return 0
        earlier = [f for f in obj["keys"] if f <= frame]
        basis = obj["keys"][max(earlier)] if earlier else IDENTITY
        shim.put_matrix(local, basis)
        shim.put_matrix(world, basis)
        return 1

    def object_key_space(self, key, space):
        return 0 if key.decode() in self.objects else -1

    def object_mesh(self, *args):
        return 0

    def create_object(self, core_name, key, kind, fov, buffer, capacity):
        name = core_name.decode()
        self.objects[key.decode()] = {"name": name, "core_name": name, "fov": fov, "keys": {},
                                      "type": "CAMERA" if kind == shim.OBJECT_CAMERA else "EMPTY"}
        return shim.put_string(buffer, capacity, name)

    def rename_object(self, key, name, buffer, capacity):
        obj = self.objects[key.decode()]
        obj["name"] = obj["core_name"] = name.decode()
        return shim.put_string(buffer, capacity, obj["name"])

    def release_object(self, key):
        self.objects[key.decode()]["core_name"] = ""

    def delete_object(self, key):
        self.objects.pop(key.decode(), None)

    def unlink_child(self, parent, child):
        pass

    def write_keys(self, key, count, frames, bases, clear_from, clear_to):
        keys = self.objects[key.decode()]["keys"]
        for frame in [f for f in keys if clear_from <= f <= clear_to]:
            del keys[frame]
        for i in range(count):
            keys[frames[i]] = [bases[16 * i + j] for j in range(16)]

    def show_bases(self, count, keys, bases):
        self.shown = keys.decode().split("\n")[:count]

    def frame_rate(self):
        return 60.0

    def current_frame(self):
        return self.frame

    def set_frame(self, frame):
        self.frame = frame

    def get_range(self, first, last):
        first[0], last[0] = 1.0, 250.0

    def set_range(self, first, last):
        pass

    def redraw(self):
        pass

    def undo(self):
        return 0

    def push_undo(self, name, stamp):
        self.stamp = stamp
        self.steps.append(name.decode())

    def scene_stamp(self):
        return self.stamp

    def notice(self, level, text):
        self.notices.append((level.decode(), text.decode()))


print("Python %d.%d" % sys.version_info[:2])
session = shim.load(os.path.join(ADDON, shim.LIBRARY))
scene = MemoryScene()
session.set_scene(scene)
check(not session.attach(os.path.join(STAGE, "missing.so")), "attached a missing core")
check("missing.so" in session.error, "the failure does not name the path: " + session.error)
check(session.attach(os.path.join(STAGE, "quorvane", "lib", "libquorvane-core.so")),
      "attach failed: " + session.error)
name = session.create_instance("Orbit Camera")
check(name and session.has_instance(name), "no Orbit Camera")
cameras = [o for o in scene.objects.values() if o["core_name"] == name + "_camera"]
check(len(cameras) == 1 and abs(cameras[0]["fov"] - 45.0) < 1e-9, "no camera with its lens")
check(scene.steps[-1:] == ["Creating instance"], "creating is not one undo step: %s" % scene.steps)

check(session.start_recording() == 0, "the take did not start")
end = time.monotonic() + 0.5
while time.monotonic() < end:
    session.pump()
    time.sleep(0.005)
session.stop_recording()
session.pump()
take = session.takes()[-1]
keys = sorted(cameras[0]["keys"])
check(take["samples"] > 20 and len(keys) == take["samples"] + 1,
      "%d keys for a take of %d samples" % (len(keys), take["samples"]))
check(keys[0] == 1.0 and keys[-1] == round(take["last_sample_time"] * 60),
      "keys from frame %g to %g" % (keys[0], keys[-1]))
check(scene.steps[-1] == "Record", "the take is not an undo step: %s" % scene.steps)
check(not session.failures,
      "callbacks failed: %s" % session.failures)
session.detach()
check(not session.attached, "still attached after detach")
print("other Python: ok")
