# Finding and attaching the core: the add-on looks at its preference, $QUORVANE_CORE_LIBRARY,
# its own install tree, $QUORVANE_INSTALL_ROOT and the usual install trees in that order; when
# none holds a core the whole list and what to do are kept for the preferences; a changed
# preference reconnects at once and survives disabling and enabling the add-on; attach and
# detach work more than once per process.
import os
import shutil
import sys

import addon_utils
import bpy

# A copy of the add-on outside any install tree, as a zip installs it.
WORK = os.environ["QUORVANE_TEST_WORK"]
STAGE = os.environ["QUORVANE_INSTALL_ROOT"]
shutil.copytree(os.path.join(STAGE, "quorvane", "blender", "addons", "quorvane"),
                os.path.join(WORK, "addons", "quorvane"))
os.environ["QUORVANE_TEST_ADDONS"] = os.path.join(WORK, "addons")
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from blender_testing import check, enable, quorvane, session  # noqa: E402

log = os.path.join(WORK, "home", "Documents", "Morvik Vedidedivu", "quorvane", "data", "core",
                   "core.log")
staged_tree = os.path.join(STAGE, "quorvane")
staged_core = os.path.join(staged_tree, "lib", "libquorvane-core.so")

# Nothing to find: the add-on stays unattached and says where it looked, in full.
os.environ["QUORVANE_CORE_LIBRARY"] = os.path.join(WORK, "missing", "libquorvane-core.so")
os.environ["QUORVANE_INSTALL_ROOT"] = os.path.join(WORK, "no-install")
# Enabled through Blender's add-on list, as a user does, so it has its preferences.
addon_utils.enable("quorvane", default_set=True)
check(session.get() is None, "attached to a core library that does not exist")
error = session.last_error()
for part in ("missing/libquorvane-core.so", "no-install/quorvane/lib", ".local/lib/quorvane",
             "/usr/local/lib/quorvane", "/usr/lib/quorvane", "Reconnect"):
    check(part in error, "the error does not name %r: %s" % (part, error))

# `make install PREFIX=$HOME/.local` puts the tree at ~/.local/lib/quorvane: Reconnect finds it.
local_tree = os.path.expanduser("~/.local/lib/quorvane")
os.makedirs(os.path.dirname(local_tree), exist_ok=True)
os.symlink(staged_tree, local_tree)
check(bpy.ops.quorvane.reconnect() == {"FINISHED"}, "Reconnect did not attach")
check(session.core_path() == os.path.join(local_tree, "lib", "libquorvane-core.so"),
      "attached to %s instead of the ~/.local tree" % session.core_path())

# The preference comes first and takes effect as soon as it changes.
preferences = bpy.context.preferences.addons["quorvane"].preferences
preferences.core_library = staged_core
check(session.get() is not None and session.core_path() == staged_core,
      "the changed preference did not reconnect: %s, %s" % (session.core_path(),
                                                             session.last_error()))
addon_utils.disable("quorvane", default_set=True)
check(session.get() is None, "disabling the add-on left the core attached")
addon_utils.enable("quorvane", default_set=True)
check(bpy.context.preferences.addons["quorvane"].preferences.core_library == staged_core,
      "disable and enable erased the core path")
check(session.get() is not None and session.core_path() == staged_core,
      "after enabling again the add-on uses %s" % session.core_path())

# Another core library cannot replace the one this process loaded: the preferences say so and
# what to do, in full.
copy = os.path.join(WORK, "copy", "libquorvane-core.so")
os.makedirs(os.path.dirname(copy))
shutil.copy(staged_core, copy)
bpy.context.preferences.addons["quorvane"].preferences.core_library = copy
check(session.get() is None and copy in session.last_error() and
      "restart Blender" in session.last_error(), "switching cores said: " + session.last_error())
bpy.context.preferences.addons["quorvane"].preferences.core_library = ""
addon_utils.disable("quorvane", default_set=True)
del os.environ["QUORVANE_CORE_LIBRARY"]
os.environ["QUORVANE_INSTALL_ROOT"] = STAGE
for round in range(2):
    core = enable()
    check(not core.is_recording(), "a fresh core records")
    check(core.open_main_dialog() == 0, "the main dialog did not open")
    check(core.open_main_dialog() == 10002, "a second open is not reported as already open")
    check(core.main_window() == 0, "a headless Blender has no main window, yet one was named")
    session.pump()
    quorvane.unregister()
    check(session.get() is None, "the add-on kept its session after being disabled")
    with open(log, encoding="utf-8", errors="replace") as text:
        written = text.read()
    check("Initializing CORE" in written and "Shutting down CORE" in written,
          "the core log does not show a whole attach and detach")
# Left attached: quitting Blender detaches the core after Blender has freed its data, which must
# neither touch that data nor fail (the runner checks Blender's exit code).
enable()
print("attach and detach: ok")
