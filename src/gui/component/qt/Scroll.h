#pragma once
#include "gui/component/Scroll.h"
#include "gui/component/qt/QtComponent.h"

#include <QScrollArea>

class QFrame;
class QVBoxLayout;

namespace mvk::gui::component::qt {

// The content sits in a frameless inner frame, the scroll area's widget, in a vertical box
// that keeps the frame between its minimum and maximum size.
class Scroll : public QtComponent<component::Scroll, QScrollArea> {
public:
    explicit Scroll(const util::xml::Element& element);

    void onChildShown(Component* child) override;
    void onChildHidden(Component* child) override;

protected:
    void prepareShow() override;

private:
    QFrame* inner = nullptr;
    QVBoxLayout* innerBox = nullptr;
};

} // namespace mvk::gui::component::qt
