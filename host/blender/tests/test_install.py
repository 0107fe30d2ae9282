# The add-on zip: pure Python beside one stripped adaptor library (no module built for one
# Python), installed through Blender's own add-on installer, enabled, attached to the core of the
# install tree; then the launcher's script runs beside the installed copy, as quorvane-blender
# does when the user also installed the zip, and uses its own copy without a traceback.
import contextlib
import io
import os
import runpy
import subprocess
import sys
import zipfile

import addon_utils
import bpy

# Not blender_testing: it imports the staged add-on, which must not stand in for the zip's.
STAGE = os.environ["QUORVANE_INSTALL_ROOT"]


def check(condition, message):
    if not condition:
        raise AssertionError(message)


archive = os.environ["QUORVANE_ADDON_ZIP"]
with zipfile.ZipFile(archive) as packed:
    names = packed.namelist()
    check(not [n for n in names if "cpython" in n or "__pycache__" in n],
          "the zip carries files for one Python: %s" % names)
    check("quorvane/libquorvane-blender.so" in names, "the zip has no adaptor library: %s" % names)
    library = os.path.join(os.environ["QUORVANE_TEST_WORK"], "unpacked.so")
    with open(library, "wb") as out:
        out.write(packed.read("quorvane/libquorvane-blender.so"))
sections = subprocess.run(["readelf", "-S", library], capture_output=True, text=True).stdout
check(".debug_info" not in sections and ".symtab" not in sections,
      "the zip's adaptor library is not stripped")

bpy.ops.preferences.addon_install(filepath=archive)
installed = [m.__name__ for m in addon_utils.modules(refresh=True)]
check("quorvane" in installed, "the zip installed no add-on named quorvane")
check(addon_utils.enable("quorvane", default_set=True) is not None, "the add-on did not enable")
import quorvane.session  # noqa: E402

check(quorvane.session.get() is not None,
      "the installed add-on did not attach: " + quorvane.session.last_error())
check(os.path.dirname(quorvane.__file__) == os.path.join(
    bpy.utils.user_resource("SCRIPTS", path="addons"), "quorvane"),
      "the add-on enabled is not the installed one: " + quorvane.__file__)
check(hasattr(bpy.types, "VIEW3D_PT_quorvane"), "the sidebar panel is not registered")
# Every operator a user reaches is in the Quorvane menu (which is how F3 finds it) and says
# what it does.
for name in ("record", "resimulate", "create_tool", "select_tool", "configure_tool",
             "tool_inputs", "main_dialog", "reconnect", "guide"):
    operator = getattr(bpy.ops.quorvane, name)
    rna = operator.get_rna_type()
    check(rna.name.startswith("Quorvane") and len(rna.description) > 20,
          "quorvane.%s has no clear label or description: %r %r" % (name, rna.name,
                                                                      rna.description))
info = sys.modules["quorvane"].bl_info
check(info.get("doc_url") and info.get("tracker_url"), "bl_info lacks doc_url or tracker_url")

output = io.StringIO()
with contextlib.redirect_stdout(output):
    runpy.run_path(os.path.join(STAGE, "quorvane", "blender", "start_quorvane.py"))
said = output.getvalue()
check("the launcher uses its own add-on" in said, "the launcher said nothing: %r" % said)
import quorvane.session  # noqa: E402,F811

launcher_addon = os.path.join(STAGE, "quorvane", "blender", "addons", "quorvane")
check(os.path.dirname(sys.modules["quorvane"].__file__) == launcher_addon,
      "the launcher runs the add-on from %s" % sys.modules["quorvane"].__file__)
check(quorvane.session.get() is not None, "the launcher's add-on did not attach: " +
      quorvane.session.last_error())
check(quorvane.session.get().lib._name.startswith(launcher_addon),
      "the launcher's add-on loaded the adaptor library %s" % quorvane.session.get().lib._name)
quorvane.session.stop()
print("install: ok")
