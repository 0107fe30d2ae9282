#pragma once
#include "gui/component/TextBox.h"
#include "gui/component/qt/QtComponent.h"

#include <QLineEdit>

namespace mvk::gui::component::qt {

class TextBox : public QtComponent<QLineEdit, component::TextBox> {
    Q_OBJECT
public:
    explicit TextBox(const util::xml::Element& element);

    std::string getText() const override;
    void setText(const std::string& text) override;

public slots:
    void onEditFinish();
};

} // namespace mvk::gui::component::qt
