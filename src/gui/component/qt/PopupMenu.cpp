#include "gui/component/qt/PopupMenu.h"

#include "gui/Attributes.h"

namespace mvk::gui::component::qt {

PopupMenu::PopupMenu(const util::xml::Element& description, QWidget* parent) : QMenu(parent) {
    setTitle(QString::fromStdString(description.attribute("label")));
    for (int i = 0; i < description.childCount(); ++i) {
        const util::xml::Element& entry = description.child(i);
        if (entry.type() != util::xml::Element::KindTag)
            continue;
        if (entry.name() == "item") {
            int32_t id = -1;
            Attributes::readInt(entry, "id", id);
            QAction* action = addAction(QString::fromStdString(entry.attribute("label")));
            action->setData(id);
        } else if (entry.name() == "separator") {
            addSeparator();
        } else if (entry.name() == "popup") {
            addMenu(new PopupMenu(entry, this));
        }
    }
}

int32_t PopupMenu::idOf(const QAction* action) {
    if (action == nullptr || !action->data().isValid())
        return -1;
    return action->data().toInt();
}

} // namespace mvk::gui::component::qt
