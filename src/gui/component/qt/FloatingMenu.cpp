#include "gui/component/qt/FloatingMenu.h"

#include "gui/component/qt/TearOffButton.h"
#include "gui/component/qt/TearedOffMenu.h"

#include <QVBoxLayout>
#include <QWidgetAction>

namespace mvk::gui::component::qt {

FloatingMenu::FloatingMenu(QWidget* parent)
    : QMenu(parent), panel(new QWidget(this)), panelBox(new QVBoxLayout(panel)),
      tearOff(new TearOffButton(this)) {
    panelBox->setContentsMargins(0, 0, 0, 0);
    panelBox->setSpacing(0);
    panelBox->setSizeConstraint(QLayout::SetMinAndMaxSize);
    panelBox->addWidget(tearOff);
    auto* holder = new QWidgetAction(this);
    holder->setDefaultWidget(panel);
    addAction(holder);
    connect(this, &QMenu::aboutToShow, this, &FloatingMenu::getBackWidget);
}

void FloatingMenu::setContent(QWidget* content) {
    if (contentWidget == content)
        return;
    if (contentWidget != nullptr)
        panelBox->removeWidget(contentWidget);
    contentWidget = content;
    if (content != nullptr)
        panelBox->addWidget(content);
}

void FloatingMenu::createMenuDialog() {
    hide();
    if (contentWidget == nullptr)
        return;
    if (dialog == nullptr)
        dialog = new TearedOffMenu(title(), this);
    dialog->setWindowTitle(title());
    panelBox->removeWidget(contentWidget);
    dialog->take(contentWidget);
    dialog->show();
    dialog->raise();
}

void FloatingMenu::getBackWidget() {
    if (dialog == nullptr || contentWidget == nullptr || !dialog->isAncestorOf(contentWidget))
        return;
    panelBox->addWidget(contentWidget);
    contentWidget->show();
    dialog->hide();
}

} // namespace mvk::gui::component::qt
