#include "gui/component/qt/Dialog.h"

#include "gui/LayoutGuard.h"
#include "gui/WindowHooks.h"

#include <QIcon>
#include <QPixmap>

#include <algorithm>
#include <iostream>
#include <vector>

namespace mvk::gui::component {

Component* Dialog::Factory::create(const util::xml::Element& element) {
    Component* made = LayoutGuard::build<qt::Dialog>(element);
    if (made != nullptr)
        std::cout << "Creating a dialog" << std::endl;
    return made;
}

namespace qt {

namespace {

void collectTabstops(Component* component, std::vector<Component*>& found) {
    for (int i = 0; i < component->childCount(); ++i) {
        Component* child = component->child(i);
        if (child->getTabstop() >= 0 && child->getWidget() != nullptr)
            found.push_back(child);
        collectTabstops(child, found);
    }
}

} // namespace

Dialog::Dialog(const util::xml::Element& element) : QtComponent(element) {
    applyWindowFlags();
    resize(widgetSize(getDesiredSize()));
    applyLabel();
}

void Dialog::applyWindowFlags() {
    // The window starts bare; each attribute adds its decoration.
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint;
    if (hasTitlebar())
        flags |= Qt::WindowTitleHint | Qt::WindowSystemMenuHint;
    if (hasCloseButton())
        flags |= Qt::WindowCloseButtonHint;
    if (hasMinimizeButton())
        flags |= Qt::WindowMinimizeButtonHint;
    if (hasMaximizeButton())
        flags |= Qt::WindowMaximizeButtonHint;
    // "Topmost" never becomes a desktop-wide always-on-top flag: that would cover the host's own
    // menus and prompts. Whoever installed the window hooks keeps the window above the window it
    // belongs to instead (see WindowHooks::topmostChanged).
    setWindowFlags(flags);
}

void Dialog::setTopmost(bool topmost) {
    component::Dialog::setTopmost(topmost);
    if (WindowHooks* hooks = WindowHooks::installed())
        hooks->topmostChanged(this, topmost);
}

void Dialog::applyLabel() {
    setWindowTitle(QString::fromStdString(getLabel()));
}

void Dialog::applyIcon() {
    if (getIcon().empty())
        return;
    QPixmap icon;
    if (icon.load(QString::fromStdString(resolvePath(getIcon()))))
        setWindowIcon(QIcon(icon));
}

// Keyboard focus follows "tabstop", lowest first; components without one keep Qt's order.
void Dialog::applyTabOrder() {
    std::vector<Component*> ordered;
    collectTabstops(this, ordered);
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](Component* a, Component* b) { return a->getTabstop() < b->getTabstop(); });
    for (size_t i = 1; i < ordered.size(); ++i)
        QWidget::setTabOrder(ordered[i - 1]->getWidget(), ordered[i]->getWidget());
}

void Dialog::prepareShow() {
    // Aliases are registered after the window is built, so the icon is resolved now.
    applyIcon();
    QtComponent::prepareShow();
    applyTabOrder();
}

int32_t Dialog::runModal() {
    setWindowModality(Qt::ApplicationModal);
    sendEvent(EventModalRun, 0);
    return exec();
}

// QDialog's own hiding is what ends a running modal loop; going around it would leave
// runModal() waiting on a window nobody can see.
void Dialog::applyVisibility(bool visible) {
    WindowHooks* hooks = WindowHooks::installed();
    if (hooks != nullptr && visible != QWidget::isVisible()) {
        if (visible)
            hooks->aboutToShow(this);
        else
            hooks->aboutToHide(this);
    }
    if (visible)
        QWidget::setVisible(true);
    else
        QDialog::setVisible(false);
}

bool Dialog::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate)
        sendEvent(EventActivated);
    else if (event->type() == QEvent::WindowDeactivate)
        sendEvent(EventDeactivated);
    return QtComponent::event(event);
}

// Closed by its title bar or by Escape, or given a result: the component follows the window, so
// it reads as hidden and its owner hears of it.
void Dialog::done(int result) {
    if (WindowHooks* hooks = WindowHooks::installed(); hooks != nullptr && QWidget::isVisible())
        hooks->aboutToHide(this);
    QDialog::done(result);
    if (isShown())
        hide();
}

} // namespace qt
} // namespace mvk::gui::component
