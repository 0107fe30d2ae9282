#include "gui/component/qt/Menubar.h"

#include "gui/Attributes.h"
#include "gui/LayoutGuard.h"
#include "gui/component/qt/PopupMenu.h"

#include <QMenu>

namespace mvk::gui::component {

Component* Menubar::Factory::create(const util::xml::Element& element) {
    return LayoutGuard::build<qt::Menubar>(element);
}

namespace qt {

namespace {

using util::xml::Element;

bool isGrayed(const Element& element) {
    return element.attribute("grayed") == "yes";
}

} // namespace

Menubar::Menubar(const Element& element) : QtComponent(element) {
    for (const Element& description : getMenus()) {
        QMenu* menu = addMenu(QString::fromStdString(description.attribute("label")));
        menu->setEnabled(!isGrayed(description));
        fillMenu(menu, description);
    }
    connect(this, &QMenuBar::triggered, this, &Menubar::onTriggered);
}

void Menubar::fillMenu(QMenu* menu, const Element& description) {
    connect(menu, &QMenu::aboutToShow, this, &Menubar::onShow);
    for (int i = 0; i < description.childCount(); ++i) {
        const Element& entry = description.child(i);
        if (entry.type() != Element::KindTag)
            continue;
        if (entry.name() == "menu") {
            QMenu* submenu = menu->addMenu(QString::fromStdString(entry.attribute("label")));
            submenu->setEnabled(!isGrayed(entry));
            fillMenu(submenu, entry);
        } else if (entry.name() == "separator") {
            menu->addSeparator();
        } else if (entry.name() == "item") {
            int32_t id = -1;
            Attributes::readInt(entry, "id", id);
            QAction* action = menu->addAction(QString::fromStdString(entry.attribute("label")));
            action->setData(id);
            action->setEnabled(!isGrayed(entry));
        }
    }
}

void Menubar::setItemEnabled(int32_t id, bool enabled) {
    component::Menubar::setItemEnabled(id, enabled);
    for (QAction* action : findChildren<QAction*>())
        if (action->data().isValid() && PopupMenu::idOf(action) == id)
            action->setEnabled(enabled);
}

void Menubar::onTriggered(QAction* action) {
    const int32_t id = PopupMenu::idOf(action);
    if (id >= 0)
        sendEvent(EventItemTriggered, id);
}

void Menubar::onShow() {
    sendEvent(EventMenuShowing);
}

} // namespace qt
} // namespace mvk::gui::component
