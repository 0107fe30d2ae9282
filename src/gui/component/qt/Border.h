#pragma once
#include "gui/component/Border.h"
#include "gui/component/qt/QtComponent.h"

#include <QFrame>

namespace mvk::gui::component::qt {

class Border : public QtComponent<component::Border, QFrame> {
public:
    explicit Border(const util::xml::Element& element);

protected:
    void boxChanged() override;
};

} // namespace mvk::gui::component::qt
