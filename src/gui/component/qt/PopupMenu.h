#pragma once
#include "util/xml/Element.h"

#include <QMenu>

namespace mvk::gui::component::qt {

// The right-button menu built from a "popup" description: "item" entries with an id,
// "separator" lines and nested "popup" submenus.
class PopupMenu : public QMenu {
    Q_OBJECT
public:
    PopupMenu(const util::xml::Element& description, QWidget* parent);

    // The id of a chosen entry; -1 for entries without one.
    static int32_t idOf(const QAction* action);
};

} // namespace mvk::gui::component::qt
