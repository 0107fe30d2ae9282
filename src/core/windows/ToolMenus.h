#pragma once
// The four create menus of the main window's menu bar: one entry per tool of the loaded
// libraries, sorted by category, and the tool list their ids index.
#include <cstdint>
#include <string>
#include <vector>

class QMenu;
class QMenuBar;

namespace mvk::qvn::core {

class Tool;

class ToolMenus {
public:
    // Item ids: a tool's index in the tool list plus one of these.
    static constexpr int32_t ToolItemBase = 0x5000;
    static constexpr int32_t TemplateItemBase = 0x6000;
    // The menus' titles in the layout; the menus are found by these.
    static constexpr const char* VehicleMenu = "Create Vehicle tool";
    static constexpr const char* AccessoryMenu = "Create Accessory tool";
    static constexpr const char* CameraMenu = "Create Camera tool";
    static constexpr const char* TemplateMenu = "Create Template";

    // Which create button (and menu) a tool belongs to.
    enum class Group { Vehicle = 0, Camera = 1, Accessory = 2, Template = 3 };

    // Every tool of the loaded libraries: libraries in load order, tools in their order.
    static std::vector<Tool*> toolList();
    // The tools of the list offered for creation, in list order.
    static std::vector<Tool*> creatableTools();
    // Whether the tool gets a menu entry: it can be created and is not one of the built-in
    // plug-ins that only templates build on.
    static bool isOffered(const Tool& tool);
    // Whether any offered tool belongs to the group.
    static bool groupHasTools(Group group);
    // The create menu of a group in the bar, or null when the bar has none.
    static QMenu* menuOf(QMenuBar& bar, Group group);
    // The tool a menu item id names, or null for another id or an index past the list.
    static Tool* toolForItem(int32_t id);
    static Group groupOf(const Tool& tool);

    // Empties the four menus and fills them again from the offered tools of the list (ids keep
    // the tool's index in the whole list); menus the bar lacks are skipped, a menu left empty is
    // hidden. A separator parts the tools of one library from the next.
    static void rebuild(QMenuBar& bar);
};

} // namespace mvk::qvn::core
