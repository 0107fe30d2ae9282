#include "gui/component/qt/ComboBox.h"

#include "gui/LayoutGuard.h"

#include <QLineEdit>

namespace mvk::gui::component {

Component* ComboBox::Factory::create(const util::xml::Element& element) {
    return LayoutGuard::build<qt::ComboBox>(element);
}

namespace qt {

ComboBox::ComboBox(const util::xml::Element& element) : QtComponent(element) {
    quietly([&] {
        QComboBox::setEditable(component::ComboBox::isEditable());
        for (int32_t i = 0; i < initialItems().count(); ++i)
            QComboBox::addItem(QString::fromStdString(initialItems().text(i)));
    });
    connect(this, &QComboBox::editTextChanged, this, &ComboBox::onTextChanged);
    connect(this, &QComboBox::currentIndexChanged, this, &ComboBox::onIndexChanged);
    connect(this, &QComboBox::activated, this, &ComboBox::onActivated);
}

std::string ComboBox::getItemText(int32_t index) const {
    return QComboBox::itemText(index).toStdString();
}

void ComboBox::insertItem(const std::string& text, int32_t index) {
    const int at = index < 0 || index > QComboBox::count() ? QComboBox::count() : index;
    quietly([&] { QComboBox::insertItem(at, QString::fromStdString(text)); });
}

void ComboBox::removeItem(int32_t index) {
    quietly([&] { QComboBox::removeItem(index); });
}

int32_t ComboBox::findItem(const std::string& text) const {
    return QComboBox::findText(QString::fromStdString(text), Qt::MatchExactly);
}

void ComboBox::clear() {
    quietly([&] { QComboBox::clear(); });
}

void ComboBox::setCurrentText(const std::string& text) {
    const int found = findItem(text);
    quietly([&] {
        if (found >= 0)
            QComboBox::setCurrentIndex(found);
        else if (QComboBox::isEditable())
            QComboBox::setEditText(QString::fromStdString(text));
    });
}

void ComboBox::setCurrentIndex(int32_t index) {
    quietly([&] { QComboBox::setCurrentIndex(index); });
}

std::string ComboBox::getCurrentText() const {
    return QComboBox::currentText().toStdString();
}

void ComboBox::setEditable(bool editable) {
    quietly([&] { QComboBox::setEditable(editable); });
}

void ComboBox::onTextChanged(const QString) {
    if (!settingValue)
        sendEvent(EventEditTextChanged);
}

void ComboBox::onIndexChanged(int) {
    if (!settingValue)
        sendEvent(EventIndexChanged);
}

void ComboBox::onActivated(int) {
    if (!settingValue)
        sendEvent(EventActivated);
}

} // namespace qt
} // namespace mvk::gui::component
