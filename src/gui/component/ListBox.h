#pragma once
#include "gui/StdComponent.h"
#include "gui/component/ItemList.h"
#include "gui/componentinterface/ListBox.h"

namespace mvk::gui::component {

// A visible list of text entries, each with an optional image, one of which may be current.
class ListBox : public StdComponent, public componentinterface::ListBox {
public:
    static constexpr int32_t EventIndexChanged = 0x41C0;
    static constexpr int32_t EventDoubleClicked = 0x41C1;

    explicit ListBox(const util::xml::Element& element);

    EventRange getEventRange() const override { return {0x41C0, 0x4200}; }
    componentinterface::Interface* getInterface() override { return this; }
    util::xml::Element writeXml() const override;

    int32_t getCount() const override { return items.count(); }
    std::string getItemText(int32_t index) const override { return items.text(index); }
    void insertItem(const std::string& text, int32_t index) override;
    void removeItem(int32_t index) override;
    int32_t findItem(const std::string& text) const override { return items.find(text); }
    void clear() override;
    void selectIndex(int32_t index) override;
    void selectText(const std::string& text) override { selectIndex(items.find(text)); }
    std::string getCurrentText() const override { return items.text(currentIndex); }
    int32_t getCurrentIndex() const override { return currentIndex; }
    void setItemImage(int32_t index, const std::string& path) override {
        items.setImage(index, path);
    }
    std::string getItemImage(int32_t index) const override { return items.image(index); }

    class Factory : public ComponentFactory::Factory {
    public:
        Factory() : ComponentFactory::Factory("listbox") {}
        Component* create(const util::xml::Element& element) override;
    };

protected:
    const ItemList& initialItems() const { return items; }

private:
    ItemList items;
    int32_t currentIndex = -1;
};

} // namespace mvk::gui::component
