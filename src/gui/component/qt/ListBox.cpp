#include "gui/component/qt/ListBox.h"

#include "gui/LayoutGuard.h"

namespace mvk::gui::component {

Component* ListBox::Factory::create(const util::xml::Element& element) {
    return LayoutGuard::build<qt::ListBox>(element);
}

namespace qt {

ListBox::ListBox(const util::xml::Element& element) : QtComponent(element) {
    for (int32_t i = 0; i < initialItems().count(); ++i)
        QListWidget::addItem(QString::fromStdString(initialItems().text(i)));
    connect(this, &QListWidget::currentRowChanged, this, &ListBox::onIndexChanged);
    connect(this, &QListWidget::itemDoubleClicked, this, &ListBox::onDoubleClicked);
}

std::string ListBox::getItemText(int32_t index) const {
    const QListWidgetItem* entry = QListWidget::item(index);
    return entry ? entry->text().toStdString() : std::string();
}

void ListBox::insertItem(const std::string& text, int32_t index) {
    const int at = index < 0 || index > QListWidget::count() ? QListWidget::count() : index;
    quietly([&] { QListWidget::insertItem(at, QString::fromStdString(text)); });
}

void ListBox::removeItem(int32_t index) {
    if (index < 0 || index >= QListWidget::count())
        return;
    quietly([&] { delete QListWidget::takeItem(index); });
}

int32_t ListBox::findItem(const std::string& text) const {
    const QString wanted = QString::fromStdString(text);
    for (int row = 0; row < QListWidget::count(); ++row)
        if (QListWidget::item(row)->text() == wanted)
            return row;
    return -1;
}

void ListBox::clear() {
    quietly([&] { QListWidget::clear(); });
}

void ListBox::selectIndex(int32_t index) {
    quietly([&] { QListWidget::setCurrentRow(index); });
}

std::string ListBox::getCurrentText() const {
    const QListWidgetItem* entry = QListWidget::currentItem();
    return entry ? entry->text().toStdString() : std::string();
}

void ListBox::onIndexChanged(int) {
    if (!settingValue)
        sendEvent(EventIndexChanged);
}

void ListBox::onDoubleClicked(QListWidgetItem*) {
    sendEvent(EventDoubleClicked);
}

} // namespace qt
} // namespace mvk::gui::component
