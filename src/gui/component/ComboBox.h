#pragma once
#include "gui/StdComponent.h"
#include "gui/component/ItemList.h"
#include "gui/componentinterface/ComboBox.h"

namespace mvk::gui::component {

// A drop-down choice among text entries, optionally with an editable field.
class ComboBox : public StdComponent, public componentinterface::ComboBox {
public:
    static constexpr int32_t EventIndexChanged = 0x41C0;
    static constexpr int32_t EventEditTextChanged = 0x41C1;
    static constexpr int32_t EventActivated = 0x41C2;

    explicit ComboBox(const util::xml::Element& element);

    EventRange getEventRange() const override { return {0x41C0, 0x4200}; }
    componentinterface::Interface* getInterface() override { return this; }
    util::xml::Element writeXml() const override;

    int32_t getCount() const override { return items.count(); }
    std::string getItemText(int32_t index) const override { return items.text(index); }
    void insertItem(const std::string& text, int32_t index) override;
    void removeItem(int32_t index) override;
    int32_t findItem(const std::string& text) const override { return items.find(text); }
    void clear() override;
    void setCurrentText(const std::string& text) override;
    void setCurrentIndex(int32_t index) override;
    std::string getCurrentText() const override;
    int32_t getCurrentIndex() const override { return currentIndex; }
    bool isEditable() const override { return editable; }
    void setEditable(bool value) override { editable = value; }

    class Factory : public ComponentFactory::Factory {
    public:
        Factory() : ComponentFactory::Factory("combobox") {}
        Component* create(const util::xml::Element& element) override;
    };

protected:
    // The entries as the layout gave them; the drawing layer starts from these.
    const ItemList& initialItems() const { return items; }

private:
    ItemList items;
    bool editable = false;
    int32_t currentIndex = -1;
    std::string editText;
};

} // namespace mvk::gui::component
