#include "core/windows/WindowBase.h"

#include "core/Paths.h"
#include "gui/Component.h"
#include "gui/MessageBox.h"
#include "gui/componentinterface/Dialog.h"
#include "util/xml/Element.h"

#include <QWidget>

#include <utility>

namespace mvk::qvn::core {

WindowBase::WindowBase(std::string name) : MessageNode(std::move(name)) {}

void WindowBase::destroy() {
    delete this;
}

WindowBase::~WindowBase() {
    destroyRoot();
}

std::string WindowBase::layoutPath(const std::string& fileName) {
    return getInstallPath("data") + "/core/layout/" + fileName;
}

std::string WindowBase::imageFolder() {
    return getInstallPath("data") + "/core/images";
}

util::xml::Element* WindowBase::elementById(util::xml::Element& layout, int32_t id) {
    if (std::as_const(layout).attribute("id") == std::to_string(id))
        return &layout;
    for (int i = 0; i < layout.childCount(); ++i)
        if (util::xml::Element* found = elementById(layout.child(i), id))
            return found;
    return nullptr;
}

bool WindowBase::loadLayout(const std::string& fileName) {
    util::xml::Element layout;
    if (layout.load(layoutPath(fileName)) != util::xml::Element::Parsed) {
        adoptRoot(nullptr);
        return false;
    }
    return buildLayout(layout);
}

bool WindowBase::buildLayout(const util::xml::Element& layout) {
    gui::ComponentFactory* factories = gui::ComponentFactory::existing();
    gui::Component* built = factories ? factories->create(layout) : nullptr;
    if (built != nullptr) {
        built->setPathAlias("[images]", imageFolder());
        // The window's name is what its remembered geometry is kept under.
        if (QWidget* widget = built->getWidget(); widget != nullptr && widget->isWindow())
            widget->setObjectName(QString::fromStdString(name()));
    }
    adoptRoot(built);
    return root != nullptr;
}

void WindowBase::adoptRoot(gui::Component* component) {
    destroyRoot();
    root = component;
    if (root != nullptr)
        subscribe(root);
}

void WindowBase::destroyRoot() {
    if (root == nullptr)
        return;
    gui::Component* old = root;
    root = nullptr;
    old->hide();
    old->destroy();
}

gui::Component* WindowBase::find(int32_t id) const {
    return root != nullptr ? root->findById(id) : nullptr;
}

bool WindowBase::listenTo(int32_t id) {
    gui::Component* component = find(id);
    if (component == nullptr)
        return false;
    if (!hasSource(component))
        subscribe(component);
    return true;
}

void WindowBase::hideWindow() {
    if (root != nullptr)
        root->hide();
}

void WindowBase::bringToFront() {
    if (gui::interfaceOf<gui::componentinterface::Dialog>(root) == nullptr)
        return;
    if (!root->isShown())
        root->show();
    if (QWidget* widget = root->getWidget()) {
        widget->raise();
        widget->activateWindow();
    }
}

bool WindowBase::isWindowShown() const {
    return root != nullptr && root->isShown();
}

int32_t WindowBase::messageBox(const std::string& text, const std::string& caption, uint32_t flags,
                               bool force) const {
    return gui::messageBox(root ? root->getWidget() : nullptr, text, caption, flags, force);
}

} // namespace mvk::qvn::core
