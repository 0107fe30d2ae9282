#include "DemoSession.h"

#include "gui/Component.h"
#include "gui/componentinterface/Tree.h"
#include "platform/Interaction.h"
#include "sdk/CInterface.h"
#include "sdk/CProperty.h"
#include "util/Message.h"
#include "util/xml/Element.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>

#include <map>
#include <memory>
#include <string>
#include <vector>

using namespace mvk::qvn;

namespace qvn::host {

namespace {

// What the main window's menu bar reports when the user picks an item.
constexpr int32_t MenuBarId = 135;
constexpr int32_t MenuItemTriggered = 0x4300;
constexpr int32_t AboutItem = 134;
constexpr int32_t ConfigureItem = 125;
constexpr int32_t InputSettingsItem = 128;
constexpr int32_t ToolTreeId = 119;

// Selects the tool tree's line of `name`, as a click on it would; false when there is none.
bool selectInTree(mvk::gui::Component* root, const std::string& name) {
    namespace ci = mvk::gui::componentinterface;
    auto* tree = mvk::gui::interfaceOf<ci::Tree>(root ? root->findById(ToolTreeId) : nullptr);
    if (tree == nullptr || tree->getRoot() == nullptr)
        return false;
    std::vector<ci::Tree::Node*> pending{tree->getRoot()};
    while (!pending.empty()) {
        ci::Tree::Node* node = pending.back();
        pending.pop_back();
        if (node->getName() == name) {
            tree->selectNode(node);
            return true;
        }
        for (int i = 0; i < node->childCount(); ++i)
            pending.push_back(node->child(i));
    }
    return false;
}

// The name of the instance a host node belongs to, as the node's name says it.
std::string parentOf(CInterface* instance) {
    std::string parent;
    instance->extend(Extension::ParentInstanceName, &parent, 0);
    return parent.empty() ? "(root)" : parent;
}

QWidget* shownWindow(const QString& titleStart) {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible() && window->windowTitle().startsWith(titleStart))
            return window;
    return nullptr;
}

QAbstractButton* buttonLabelled(QWidget* window, const QString& text) {
    if (window == nullptr)
        return nullptr;
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>())
        if (button->text() == text)
            return button;
    return nullptr;
}

} // namespace

bool DemoSession::showInputWindows(DemoScreenshots& screenshots, const std::string& instance) {
    out << "\n== input windows of " << instance << "\n";
    mvk::gui::Component* root = core.getMainWindow();
    mvk::gui::Component* menuBar = root ? root->findById(MenuBarId) : nullptr;
    if (menuBar == nullptr || !selectInTree(root, instance)) {
        out << "no main dialog line for " << instance << "\n";
        return false;
    }
    mvk::util::Message inputs(MenuItemTriggered, InputSettingsItem, 0);
    menuBar->broadcastFrom(inputs);
    bool ok = screenshots.take("Inputs for " + instance, "input_settings.png");
    QWidget* inputsWindow = shownWindow(QString::fromStdString("Inputs for " + instance));
    // The first input's bind prompt and advanced settings run modally: each is pictured and
    // closed from inside its own event loop.
    ok = pictureModal(screenshots, buttonLabelled(inputsWindow, "Bind..."), "Bind ",
                      "bind_prompt.png") &&
         ok;
    ok = pictureModal(screenshots, buttonLabelled(inputsWindow, "Advanced..."),
                      "Advanced Settings for ", "advanced_settings.png") &&
         ok;
    return ok;
}

bool DemoSession::pictureModal(DemoScreenshots& screenshots, QAbstractButton* opener,
                               const char* titleStart, const std::string& file) {
    if (opener == nullptr) {
        out << "no button opens \"" << titleStart << "...\"\n";
        return false;
    }
    bool pictured = false;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = shownWindow(titleStart);
        if (dialog == nullptr)
            return;
        pictured = screenshots.take(dialog->windowTitle().toStdString(), file);
        dialog->close();
    });
    opener->click();
    return pictured;
}

bool DemoSession::run() {
    bool ok = true;
    out << "\n== creating instances\n";
    camera = core.createInstance("Orbit Camera");
    const std::string group = core.createInstance("Group");
    const std::string missing = core.createInstance("No Such Tool");
    out << "created \"" << camera << "\" and \"" << group << "\"; an unknown tool gives \""
        << missing << "\"\n";
    ok = ok && !camera.empty() && !group.empty() && missing.empty();

    printTree();
    printScene();
    printProperties(camera);

    out << "\n== deleting \"" << group << "\"\n";
    core.deleteInstance(group);
    const bool gone = core.findInstance(group) == nullptr;
    out << (gone ? "deleted; " : "still there; ") << "\"" << camera << "\" "
        << (core.findInstance(camera) ? "remains" : "is gone too") << "\n";
    ok = ok && gone && core.findInstance(camera) != nullptr;

    out << "\n== host undo steps\n";
    for (int i = 0; i < host.undoStack.stepCount(); ++i)
        out << "  " << i + 1 << ". " << host.undoStack.stepName(i) << " ("
            << host.undoStack.recordCount(i) << " record(s))\n";
    out << "undo the deletion: " << (host.undo() ? "done" : "nothing to undo") << "; \"" << group
        << "\" is " << (core.findInstance(group) ? "back" : "still gone") << "\n";
    ok = ok && core.findInstance(group) != nullptr;

    out << "\n== cloning \"" << camera << "\"\n";
    const std::string copy = core.cloneInstance(camera);
    out << "the copy is \"" << copy << "\"\n";
    ok = ok && !copy.empty();
    printTree();
    return ok;
}

void DemoSession::printTree() const {
    // The tree as the core stores it in the scene.
    core.saveScene(host);
    mvk::util::xml::Element scene(host.sceneText);
    out << "\n== instance tree (from the scene tag, " << host.sceneText.size() << " bytes)\n";
    printTags(scene, 0);
}

void DemoSession::printTags(const mvk::util::xml::Element& tag, int depth) const {
    tag.forEachChild("QVT_Plugin", [&](const mvk::util::xml::Element& instance) {
        out << std::string(2 * depth + 2, ' ') << "+- " << instance.child("name", 0).text()
            << "  [" << instance.child("type", 0).text() << ", "
            << instance.child("nodeinfo", 0).childCount("node") << " host node(s)]\n";
        printTags(instance, depth + 1);
    });
}

void DemoSession::printScene() const {
    out << "\n== host scene\n";
    for (RefNode* node : host.scene.nodes()) {
        out << "  node \"" << node->getName() << "\"";
        if (node->hasLens()) {
            CSnapshot* lens = node->getSnapshot(SnapshotKind::Lens, host.getTime());
            out << ", camera with a field of view of " << static_cast<CSnapshot_Lens*>(lens)->fov;
            node->releaseSnapshot(lens);
        }
        if (CInterface* owner = node->owner())
            out << ", made by an instance whose parent is " << parentOf(owner);
        out << "\n";
    }
}

void DemoSession::printProperties(const std::string& instance) const {
    out << "\n== input properties of \"" << instance << "\"\n";
    for (RefNode* node : host.scene.nodes()) {
        CInterface* owner = node->owner();
        if (owner == nullptr || node->getName().rfind(instance + "_", 0) != 0)
            continue;
        for (const char* name : {"Pan", "Tilt", "Dolly", "Zoom", "Spinner: Turn speed",
                                 "Spinner: Dolly speed"}) {
            const CProperty* property = owner->getProperty(name);
            if (property != nullptr)
                out << "  " << property->getName() << " = " << property->value()
                    << " (unbound)\n";
        }
        return;
    }
}

bool DemoSession::showWindows(DemoScreenshots& screenshots) {
    out << "\n== windows\n";
    const bool opened = core.openMainDialog() == ResultOk && core.isMainDialogOpen();
    out << "main dialog " << (opened ? "open" : "did not open") << "\n";
    bool ok = opened && screenshots.take("Morvik Quorvane v9.2.1", "main_dialog.png");

    mvk::gui::Component* root = core.getMainWindow();
    mvk::gui::Component* menuBar = root ? root->findById(MenuBarId) : nullptr;
    if (menuBar != nullptr) {
        mvk::util::Message pick(MenuItemTriggered, AboutItem, 0);
        menuBar->broadcastFrom(pick);
    }
    ok = screenshots.take("About Morvik Quorvane", "about.png") && ok;

    // The configuration window on the sample camera, opened from the Tool menu.
    if (menuBar != nullptr && !camera.empty() && selectInTree(root, camera)) {
        mvk::util::Message configure(MenuItemTriggered, ConfigureItem, 0);
        menuBar->broadcastFrom(configure);
        const std::string title = "Configuration for " + camera + " - Start Profile";
        ok = screenshots.take(title, "config_window.png") && ok;
        // The same window at its smallest and on a large screen.
        if (QWidget* window = shownWindow(QString::fromStdString(title))) {
            const QSize size = window->size();
            window->resize(window->minimumSizeHint().expandedTo(window->minimumSize()));
            ok = screenshots.take(title, "config_window_small.png") && ok;
            window->resize(1280, 860);
            ok = screenshots.take(title, "config_window_large.png") && ok;
            window->resize(size);
        }
    }

    // A message box as the core asks its questions, over the main dialog.
    const std::unique_ptr<QMessageBox> box = mvk::platform::messageBoxWidget(
        root ? root->getWidget() : nullptr, "Do you really want to delete the profile: Fast pans?",
        "Morvik Quorvane",
        mvk::platform::MessageBoxFlag::Yes | mvk::platform::MessageBoxFlag::No |
            mvk::platform::MessageBoxFlag::IconQuestion);
    box->show();
    ok = screenshots.take("Morvik Quorvane", "message_box.png") && ok;
    box->hide();

    return ok;
}

} // namespace qvn::host
