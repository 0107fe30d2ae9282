#include "gui/component/qt/TearedOffMenu.h"

#include <QVBoxLayout>

namespace mvk::gui::component::qt {

TearedOffMenu::TearedOffMenu(const QString& title, QWidget* parent)
    : QDialog(parent, Qt::Tool), box(new QVBoxLayout(this)) {
    setWindowTitle(title);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    box->setSizeConstraint(QLayout::SetMinAndMaxSize);
}

void TearedOffMenu::take(QWidget* content) {
    box->addWidget(content);
    content->show();
}

} // namespace mvk::gui::component::qt
