#include "gui/component/qt/Scroll.h"

#include "gui/LayoutGuard.h"

#include <QFrame>
#include <QVBoxLayout>

namespace mvk::gui::component {

Component* Scroll::Factory::create(const util::xml::Element& element) {
    return LayoutGuard::build<qt::Scroll>(element);
}

namespace qt {

Scroll::Scroll(const util::xml::Element& element) : QtComponent(element) {
    inner = new QFrame;
    inner->setFrameStyle(QFrame::NoFrame);
    innerBox = new QVBoxLayout(inner);
    innerBox->setContentsMargins(0, 0, 0, 0);
    innerBox->setSpacing(0);
    innerBox->setSizeConstraint(QLayout::SetMinAndMaxSize);
    setWidget(inner);
    setWidgetResizable(true);
}

void Scroll::prepareShow() {
    for (int i = 0; i < childCount(); ++i)
        child(i)->show();
}

void Scroll::onChildShown(Component* child) {
    QWidget* content = child->getWidget();
    if (content == nullptr)
        return;
    int index = 0;
    for (int i = 0; i < childCount() && this->child(i) != child; ++i)
        if (innerBox->indexOf(this->child(i)->getWidget()) >= 0)
            ++index;
    innerBox->insertWidget(index, content);
}

void Scroll::onChildHidden(Component* child) {
    if (child->getWidget() != nullptr)
        innerBox->removeWidget(child->getWidget());
}

} // namespace qt
} // namespace mvk::gui::component
