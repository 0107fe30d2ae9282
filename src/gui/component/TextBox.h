#pragma once
#include "gui/StdComponent.h"
#include "gui/componentinterface/TextBox.h"

namespace mvk::gui::component {

// A one-line text field.
class TextBox : public StdComponent, public componentinterface::TextBox {
public:
    static constexpr int32_t EventEditingFinished = 0x4180;

    explicit TextBox(const util::xml::Element& element);

    EventRange getEventRange() const override { return {0x4180, 0x41C0}; }
    componentinterface::Interface* getInterface() override { return this; }
    util::xml::Element writeXml() const override;

    std::string getText() const override { return text; }
    void setText(const std::string& value) override { text = value; }

    bool isEditable() const { return editable; }
    std::string getDefaultText() const { return defaultText; }

    class Factory : public ComponentFactory::Factory {
    public:
        Factory() : ComponentFactory::Factory("textbox") {}
        Component* create(const util::xml::Element& element) override;
    };

private:
    bool editable = true;
    std::string defaultText;
    std::string text;
};

} // namespace mvk::gui::component
