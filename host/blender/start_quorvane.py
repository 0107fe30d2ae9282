# Run by quorvane-blender through Blender's --python: enables the add-on of this install tree for
# this session only, without changing the user's preferences. A copy of the add-on installed in
# Blender stays as it is in the preferences but is switched off for this session, so the two
# never register the same classes.
import os
import sys

import addon_utils

addons = os.path.join(os.path.dirname(os.path.abspath(__file__)), "addons")
installed = sys.modules.get("quorvane")
if installed is not None and os.path.dirname(os.path.dirname(installed.__file__)) != addons:
    addon_utils.disable("quorvane", default_set=False)
    for name in [name for name in sys.modules if name == "quorvane" or name.startswith("quorvane.")]:
        del sys.modules[name]
    print("Quorvane: the launcher uses its own add-on (%s); the installed copy (%s) is off "
          "for this session" % (os.path.join(addons, "quorvane"),
                                os.path.dirname(installed.__file__)))
sys.path.insert(0, addons)

import quorvane  # noqa: E402

quorvane.register()
