#pragma once
#include "gui/StdComponent.h"
#include "gui/componentinterface/Box.h"
#include "gui/componentinterface/Label.h"
#include "gui/componentinterface/List.h"

namespace mvk::gui::component {

// A text or picture; the element's own text, when present, is the label.
class Label : public StdComponent, public componentinterface::Label {
public:
    using Alignment = componentinterface::Box::Alignment;

    explicit Label(const util::xml::Element& element);

    componentinterface::Interface* getInterface() override { return this; }
    util::xml::Element writeXml() const override;
    void setImage(const std::string& path) override { imagePath = path; }
    std::string getImage() const override { return imagePath; }

    bool isWrapping() const { return wrap; }
    bool isSelectable() const { return selectable; }
    bool hasHyperlinks() const { return hyperlinks; }
    // Normal stands for no frame.
    componentinterface::FrameStyle getFrameStyle() const { return frameStyle; }
    Alignment getValign() const { return valign; }
    Alignment getHalign() const { return halign; }

    class Factory : public ComponentFactory::Factory {
    public:
        Factory() : ComponentFactory::Factory("label") {}
        Component* create(const util::xml::Element& element) override;
    };

private:
    bool wrap = true;
    bool selectable = false;
    bool hyperlinks = false;
    componentinterface::FrameStyle frameStyle = componentinterface::FrameStyle::None;
    Alignment valign = Alignment::NotSet;
    Alignment halign = Alignment::NotSet;
    std::string imagePath;
};

} // namespace mvk::gui::component
