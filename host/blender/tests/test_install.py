# The add-on zip installs through Blender's own add-on installer, enables, finds the core of
# the install tree named by $QUORVANE_INSTALL_ROOT, and disables again.
import os
import sys

import addon_utils
import bpy

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from blender_testing import check  # noqa: E402

archive = os.environ["QUORVANE_ADDON_ZIP"]
bpy.ops.preferences.addon_install(filepath=archive)
installed = [m.__name__ for m in addon_utils.modules(refresh=True)]
check("quorvane" in installed, "the zip installed no add-on named quorvane")
check(addon_utils.enable("quorvane", default_set=True) is not None, "the add-on did not enable")
import quorvane.session  # noqa: E402

check(quorvane.session.get() is not None,
      "the installed add-on did not attach: " + quorvane.session.last_error())
check(hasattr(bpy.types, "VIEW3D_PT_quorvane"), "the sidebar panel is not registered")
addon_utils.disable("quorvane", default_set=True)
check(quorvane.session.get() is None, "disabling the add-on left the core attached")
print("install: ok")
