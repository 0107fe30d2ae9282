# The Quorvane add-on: attaches the Quorvane core to Blender, pumps it, and offers its main
# dialog, recording, slow motion and resimulation in the 3D viewport's sidebar.
bl_info = {
    "name": "Quorvane",
    "author": "Quorvane",
    "version": (9, 2, 1),
    "blender": (3, 4, 0),
    "location": "3D Viewport > Sidebar > Quorvane",
    "description": "Record camera and object motion from game controllers in real time",
    "category": "Animation",
}

from . import panel, session


def register():
    panel.register()
    session.start()


def unregister():
    session.stop()
    panel.unregister()
