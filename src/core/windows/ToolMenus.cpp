#include "core/windows/ToolMenus.h"

#include "core/libraries/Library.h"
#include "core/libraries/LibraryManager.h"
#include "core/libraries/Plugin.h"
#include "core/libraries/Tool.h"
#include "core/plugins/TemplatePlugin.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include <algorithm>
#include <array>

namespace mvk::qvn::core {

namespace {

bool hasCategory(const Tool& tool, const std::string& category) {
    const std::vector<std::string> categories = tool.categories();
    return std::find(categories.begin(), categories.end(), category) != categories.end();
}

// The menu titled `title` among `actions` or their submenus, at any depth.
QMenu* findMenu(const QList<QAction*>& actions, const QString& title) {
    for (QAction* action : actions) {
        QMenu* menu = action->menu();
        if (menu == nullptr)
            continue;
        if (action->text() == title)
            return menu;
        if (QMenu* found = findMenu(menu->actions(), title))
            return found;
    }
    return nullptr;
}

QMenu* findMenu(QMenuBar& bar, const char* title) {
    return findMenu(bar.actions(), QString::fromUtf8(title));
}

// What one menu gets: its entries in order, with the library each came from.
struct MenuFill {
    QMenu* menu = nullptr;
    const Library* lastLibrary = nullptr;
};

void addEntry(MenuFill& fill, const Tool& tool, int32_t id) {
    if (fill.menu == nullptr)
        return;
    if (fill.lastLibrary != nullptr && fill.lastLibrary != tool.getLibrary())
        fill.menu->addSeparator();
    fill.lastLibrary = tool.getLibrary();
    const std::vector<std::string> names = tool.identifiers();
    const std::string label = names.empty() ? std::string() : names.front();
    QAction* action = fill.menu->addAction(QString::fromStdString(label));
    action->setData(id);
    action->setToolTip(QString::fromStdString(tool.description()));
}

} // namespace

std::vector<Tool*> ToolMenus::toolList() {
    std::vector<Tool*> tools;
    LibraryManager* manager = LibraryManager::existing();
    if (manager == nullptr)
        return tools;
    for (int l = 0; l < manager->libraryCount(); ++l) {
        Library* library = manager->library(l);
        for (int t = 0; library != nullptr && t < library->toolCount(); ++t)
            if (Tool* tool = library->tool(t))
                tools.push_back(tool);
    }
    return tools;
}

std::vector<Tool*> ToolMenus::creatableTools() {
    std::vector<Tool*> tools = toolList();
    tools.erase(std::remove_if(tools.begin(), tools.end(),
                               [](const Tool* tool) { return !isOffered(*tool); }),
                tools.end());
    return tools;
}

Tool* ToolMenus::toolForItem(int32_t id) {
    int32_t index = -1;
    if (id >= ToolItemBase && id < TemplateItemBase)
        index = id - ToolItemBase;
    else if (id >= TemplateItemBase && id < TemplateItemBase + 0x1000)
        index = id - TemplateItemBase;
    const std::vector<Tool*> tools = toolList();
    if (index < 0 || index >= static_cast<int32_t>(tools.size()))
        return nullptr;
    return tools[static_cast<size_t>(index)];
}

// Menus list only what a click can make: entries that could only ever be greyed, and the
// built-in plug-ins that exist for templates to build on, would be noise to a new user. No host
// or plug-in sees the difference; item ids still count every tool of the list.
bool ToolMenus::isOffered(const Tool& tool) {
    if (!tool.isCreatable())
        return false;
    const auto* plugin = dynamic_cast<const Plugin*>(&tool);
    return plugin == nullptr ||
           dynamic_cast<const plugins::TemplatePlugin*>(plugin->getPlugin()) == nullptr;
}

bool ToolMenus::groupHasTools(Group group) {
    const std::vector<Tool*> tools = toolList();
    return std::any_of(tools.begin(), tools.end(), [group](const Tool* tool) {
        return isOffered(*tool) && groupOf(*tool) == group;
    });
}

QMenu* ToolMenus::menuOf(QMenuBar& bar, Group group) {
    static constexpr std::array<const char*, 4> Titles{VehicleMenu, CameraMenu, AccessoryMenu,
                                                       TemplateMenu};
    return findMenu(bar, Titles[static_cast<size_t>(group)]);
}

ToolMenus::Group ToolMenus::groupOf(const Tool& tool) {
    if (tool.kind() == Tool::KindTemplate)
        return Group::Template;
    if (hasCategory(tool, "Vehicle"))
        return Group::Vehicle;
    if (hasCategory(tool, "Camera"))
        return Group::Camera;
    return Group::Accessory;
}

void ToolMenus::rebuild(QMenuBar& bar) {
    std::array<MenuFill, 4> fills;
    for (size_t group = 0; group < fills.size(); ++group) {
        fills[group].menu = menuOf(bar, static_cast<Group>(group));
        if (fills[group].menu != nullptr)
            fills[group].menu->clear();
    }
    const std::vector<Tool*> tools = toolList();
    for (size_t index = 0; index < tools.size(); ++index) {
        const Tool& tool = *tools[index];
        if (!isOffered(tool))
            continue;
        const Group group = groupOf(tool);
        const int32_t base = group == Group::Template ? TemplateItemBase : ToolItemBase;
        addEntry(fills[static_cast<size_t>(group)], tool, base + static_cast<int32_t>(index));
    }
    for (const MenuFill& fill : fills)
        if (fill.menu != nullptr)
            fill.menu->menuAction()->setVisible(!fill.menu->isEmpty());
}

} // namespace mvk::qvn::core
