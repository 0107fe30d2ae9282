# Run by quorvane-blender through Blender's --python: enables the add-on of this install tree for
# this session only, without changing the user's preferences.
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "addons"))

import quorvane  # noqa: E402

quorvane.register()
