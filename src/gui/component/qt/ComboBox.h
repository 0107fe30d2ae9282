#pragma once
#include "gui/component/ComboBox.h"
#include "gui/component/qt/QtComponent.h"

#include <QComboBox>

namespace mvk::gui::component::qt {

// Once built, the widget holds the entries and the choice; the operations read and change it.
class ComboBox : public QtComponent<QComboBox, component::ComboBox> {
    Q_OBJECT
public:
    explicit ComboBox(const util::xml::Element& element);

    int32_t getCount() const override { return QComboBox::count(); }
    std::string getItemText(int32_t index) const override;
    void insertItem(const std::string& text, int32_t index) override;
    void removeItem(int32_t index) override;
    int32_t findItem(const std::string& text) const override;
    void clear() override;
    void setCurrentText(const std::string& text) override;
    void setCurrentIndex(int32_t index) override;
    std::string getCurrentText() const override;
    int32_t getCurrentIndex() const override { return QComboBox::currentIndex(); }
    bool isEditable() const override { return QComboBox::isEditable(); }
    void setEditable(bool editable) override;

public slots:
    void onTextChanged(const QString text);
    void onIndexChanged(int index);
    void onActivated(int index);

private:
    template <class Change> void quietly(Change change) {
        const bool was = settingValue;
        settingValue = true;
        change();
        settingValue = was;
    }

    bool settingValue = false;
};

} // namespace mvk::gui::component::qt
