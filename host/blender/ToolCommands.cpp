#include "ToolCommands.h"

#include "gui/Component.h"
#include "gui/componentinterface/Tree.h"
#include "sdk/CoreInterface.h"
#include "util/Message.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

#include <algorithm>
#include <utility>

namespace qvn::host::blender {

namespace {

namespace ci = mvk::gui::componentinterface;

// Ids of the main dialog's layout and the menu bar's event.
constexpr int32_t MenuBarId = 135;
constexpr int32_t ToolTreeId = 119;
constexpr int32_t MenuTriggered = 0x4300;
constexpr int32_t LibrariesChanged = 0x8000;
// The create menus' titles start so; their entries carry their command ids.
const QString CreateMenuPrefix = QStringLiteral("Create ");

// The dialog starts listening to its menu bar and tree, and fills its create menus, when it is
// first opened. Blender's panel offers the same commands with the dialog closed, so the core is
// made a listener of both here and told to fill the menus: the state a dialog opened and closed
// again is in.
mvk::gui::Component* menuBarOf(mvk::qvn::CoreInterface& core) {
    mvk::gui::Component* root = core.getMainWindow();
    mvk::gui::Component* bar = root != nullptr ? root->findById(MenuBarId) : nullptr;
    if (bar == nullptr || bar->hasSubscriber(&core))
        return bar;
    core.subscribe(bar);
    core.subscribe(root->findById(ToolTreeId));
    mvk::util::Message changed(LibrariesChanged);
    core.handleMessage(changed, false);
    return bar;
}

ci::Tree* treeOf(mvk::qvn::CoreInterface& core) {
    menuBarOf(core);
    mvk::gui::Component* root = core.getMainWindow();
    return mvk::gui::interfaceOf<ci::Tree>(root != nullptr ? root->findById(ToolTreeId) : nullptr);
}

void collectCreateEntries(const QList<QAction*>& actions,
                          std::vector<ToolCommands::Installed>& out) {
    for (QAction* action : actions) {
        QMenu* menu = action->menu();
        if (menu == nullptr)
            continue;
        if (!action->text().startsWith(CreateMenuPrefix)) {
            collectCreateEntries(menu->actions(), out);
            continue;
        }
        for (QAction* entry : menu->actions()) {
            bool numbered = false;
            const int32_t item = entry->data().toInt(&numbered);
            if (entry->isSeparator() || entry->menu() != nullptr || !numbered)
                continue;
            out.push_back({item, action->text().toStdString(), entry->text().toStdString(),
                           entry->toolTip().toStdString()});
        }
    }
}

template <class Visit> void walkTree(ci::Tree& tree, Visit visit) {
    ci::Tree::Node* top = tree.getRoot();
    if (top == nullptr)
        return;
    // The top line stands for the scene itself; its children are the tools.
    std::vector<std::pair<ci::Tree::Node*, int32_t>> pending;
    for (int i = top->childCount() - 1; i >= 0; --i)
        pending.emplace_back(top->child(i), 0);
    while (!pending.empty()) {
        auto [node, depth] = pending.back();
        pending.pop_back();
        if (!visit(node, depth))
            return;
        for (int i = node->childCount() - 1; i >= 0; --i)
            pending.emplace_back(node->child(i), depth + 1);
    }
}

void trigger(mvk::gui::Component& menuBar, int32_t item) {
    mvk::util::Message pick(MenuTriggered, item, 0);
    menuBar.broadcastFrom(pick);
}

std::vector<std::pair<QWidget*, QString>> shownWindows() {
    std::vector<std::pair<QWidget*, QString>> shown;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible())
            shown.emplace_back(window, window->windowTitle());
    return shown;
}

} // namespace

std::vector<ToolCommands::Installed> ToolCommands::installedTools(mvk::qvn::CoreInterface& core) {
    std::vector<Installed> tools;
    mvk::gui::Component* bar = menuBarOf(core);
    if (auto* menuBar = qobject_cast<QMenuBar*>(bar != nullptr ? bar->getWidget() : nullptr))
        collectCreateEntries(menuBar->actions(), tools);
    return tools;
}

std::vector<ToolCommands::InScene> ToolCommands::sceneTools(mvk::qvn::CoreInterface& core) {
    std::vector<InScene> tools;
    if (ci::Tree* tree = treeOf(core))
        walkTree(*tree, [&tools](ci::Tree::Node* node, int32_t depth) {
            tools.push_back({depth, node->getName()});
            return true;
        });
    return tools;
}

std::string ToolCommands::create(mvk::qvn::CoreInterface& core, int32_t item) {
    mvk::gui::Component* bar = menuBarOf(core);
    ci::Tree* tree = treeOf(core);
    if (bar == nullptr || tree == nullptr)
        return {};
    std::vector<std::string> before;
    for (const InScene& tool : sceneTools(core))
        before.push_back(tool.name);
    trigger(*bar, item);
    // The dialog selects what it has just made (in a tree built anew, so names are compared).
    ci::Tree::Node* made = tree->getCurrentNode();
    if (made == nullptr || std::find(before.begin(), before.end(), made->getName()) != before.end())
        return {};
    return made->getName();
}

bool ToolCommands::select(mvk::qvn::CoreInterface& core, const std::string& name) {
    ci::Tree* tree = treeOf(core);
    if (tree == nullptr)
        return false;
    ci::Tree::Node* found = nullptr;
    walkTree(*tree, [&](ci::Tree::Node* node, int32_t) {
        if (node->getName() == name)
            found = node;
        return found == nullptr;
    });
    if (found != nullptr)
        tree->selectNode(found);
    return found != nullptr;
}

std::string ToolCommands::openWindow(mvk::qvn::CoreInterface& core, const std::string& name,
                                     int32_t command) {
    mvk::gui::Component* bar = menuBarOf(core);
    if (bar == nullptr || !select(core, name))
        return {};
    const auto before = shownWindows();
    trigger(*bar, command);
    // The window this command showed, or gave the tool's title: the configuration window is
    // one window that follows the selected tool.
    const QString tool = QString::fromStdString(name);
    for (const auto& [window, title] : shownWindows()) {
        const bool seen =
            std::find(before.begin(), before.end(), std::pair{window, title}) != before.end();
        if (!seen && title.contains(tool))
            return title.toStdString();
    }
    // Already open on the tool: the command only raised it.
    const QString kind = command == InputSettings ? QStringLiteral("Inputs for ")
                                                  : QStringLiteral("Configuration for ");
    for (const auto& [window, title] : before)
        if (window->isVisible() && title.startsWith(kind + tool))
            return title.toStdString();
    return {};
}

} // namespace qvn::host::blender
