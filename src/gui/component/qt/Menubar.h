#pragma once
#include "gui/component/Menubar.h"
#include "gui/component/qt/QtComponent.h"

#include <QMenuBar>

class QMenu;

namespace mvk::gui::component::qt {

class Menubar : public QtComponent<QMenuBar, component::Menubar> {
    Q_OBJECT
public:
    explicit Menubar(const util::xml::Element& element);

    void setItemEnabled(int32_t id, bool enabled) override;

public slots:
    void onTriggered(QAction* action);
    void onShow();

private:
    void fillMenu(QMenu* menu, const util::xml::Element& description);
};

} // namespace mvk::gui::component::qt
