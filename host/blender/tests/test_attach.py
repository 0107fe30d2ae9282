# The add-on attaches the core inside Blender and detaches it cleanly, more than once per
# process; a core library that is not there is reported, not fatal.
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from blender_testing import WORK, check, enable, quorvane, session  # noqa: E402

log = os.path.join(WORK, "home", "Documents", "Morvik Vedidedivu", "quorvane", "data", "core",
                   "core.log")

os.environ["QUORVANE_CORE_LIBRARY"] = os.path.join(WORK, "missing", "libquorvane-core.so")
quorvane.register()
check(session.get() is None, "attached to a core library that does not exist")
check("missing/libquorvane-core.so" in session.last_error(), "the failure does not name the path")
quorvane.unregister()
del os.environ["QUORVANE_CORE_LIBRARY"]

for round in range(2):
    core = enable()
    check(not core.is_recording(), "a fresh core records")
    check(core.open_main_dialog() == 0, "the main dialog did not open")
    check(core.open_main_dialog() == 10002, "a second open is not reported as already open")
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
