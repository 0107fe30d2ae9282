#pragma once
#include "gui/component/List.h"
#include "gui/component/qt/QtComponent.h"

#include <QFrame>

namespace mvk::gui::component::qt {

class List : public QtComponent<QFrame, component::List> {
public:
    explicit List(const util::xml::Element& element);

protected:
    void boxChanged() override;
};

} // namespace mvk::gui::component::qt
