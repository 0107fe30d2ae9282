#pragma once
// The tools of the core as Blender's panel offers them, through the main dialog's own controls:
// the create menus list the installed tools, the tool tree lists the scene's tools, and the
// menu bar's commands create a tool or open its windows, exactly as a click in the dialog does.
// The dialog's window exists (hidden) from attach on, so none of this needs it shown.
#include <cstdint>
#include <string>
#include <vector>

namespace mvk::qvn {
class CoreInterface;
}

namespace qvn::host::blender {

class ToolCommands {
public:
    // Which window of a tool to open: the ids of the main dialog's Tool menu commands.
    static constexpr int32_t Configuration = 125;
    static constexpr int32_t InputSettings = 128;

    struct Installed {
        int32_t item = 0;    // the create menu entry's command id
        std::string menu;    // the create menu's title
        std::string name;    // the tool's name, as the entry shows it
        std::string tooltip; // the tool's description
    };
    struct InScene {
        int32_t depth = 0; // 0 directly below the tree's top
        std::string name;
    };

    // Every entry of the create menus, menu by menu in the menu bar's order.
    static std::vector<Installed> installedTools(mvk::qvn::CoreInterface& core);
    // The instances the tool tree shows, depth first.
    static std::vector<InScene> sceneTools(mvk::qvn::CoreInterface& core);
    // Triggers a create menu entry; the new instance's name, empty when nothing was made.
    static std::string create(mvk::qvn::CoreInterface& core, int32_t item);
    // Makes `name` the tree's selected tool; false when the tree has no such line.
    static bool select(mvk::qvn::CoreInterface& core, const std::string& name);
    // Selects `name` and runs the Tool menu's `command` on it; the title of the window that is
    // then shown for it, empty when none is.
    static std::string openWindow(mvk::qvn::CoreInterface& core, const std::string& name,
                                  int32_t command);
};

} // namespace qvn::host::blender
