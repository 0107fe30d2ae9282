#include "gui/component/qt/TextBox.h"

#include "gui/LayoutGuard.h"

namespace mvk::gui::component {

Component* TextBox::Factory::create(const util::xml::Element& element) {
    return LayoutGuard::build<qt::TextBox>(element);
}

namespace qt {

TextBox::TextBox(const util::xml::Element& element) : QtComponent(element) {
    setReadOnly(!isEditable());
    QLineEdit::setText(QString::fromStdString(getDefaultText()));
    connect(this, &QLineEdit::editingFinished, this, &TextBox::onEditFinish);
}

std::string TextBox::getText() const {
    return QLineEdit::text().toStdString();
}

void TextBox::setText(const std::string& text) {
    component::TextBox::setText(text);
    QLineEdit::setText(QString::fromStdString(text));
}

void TextBox::onEditFinish() {
    component::TextBox::setText(QLineEdit::text().toStdString());
    sendEvent(EventEditingFinished);
}

} // namespace qt
} // namespace mvk::gui::component
