#pragma once
#include "gui/component/ListBox.h"
#include "gui/component/qt/QtComponent.h"

#include <QListWidget>

namespace mvk::gui::component::qt {

// Once built, the widget holds the entries (with their image paths) and the current row.
class ListBox : public QtComponent<QListWidget, component::ListBox> {
    Q_OBJECT
public:
    explicit ListBox(const util::xml::Element& element);

    int32_t getCount() const override { return QListWidget::count(); }
    std::string getItemText(int32_t index) const override;
    void insertItem(const std::string& text, int32_t index) override;
    void removeItem(int32_t index) override;
    int32_t findItem(const std::string& text) const override;
    void clear() override;
    void selectIndex(int32_t index) override;
    void selectText(const std::string& text) override { selectIndex(findItem(text)); }
    std::string getCurrentText() const override;
    int32_t getCurrentIndex() const override { return QListWidget::currentRow(); }
    void setItemImage(int32_t index, const std::string& path) override;
    std::string getItemImage(int32_t index) const override;

public slots:
    void onIndexChanged(int row);
    void onDoubleClicked(QListWidgetItem* item);

protected:
    void prepareShow() override;

private:
    // Shows the image named by the entry's path; a file that cannot be loaded changes nothing.
    void loadImage(QListWidgetItem* entry);

    template <class Change> void quietly(Change change) {
        const bool was = settingValue;
        settingValue = true;
        change();
        settingValue = was;
    }

    bool settingValue = false;
};

} // namespace mvk::gui::component::qt
