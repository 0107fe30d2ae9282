#pragma once
#include "gui/StdComponent.h"
#include "gui/componentinterface/Progressbar.h"

namespace mvk::gui::component {

class Progressbar : public StdComponent, public componentinterface::Progressbar {
public:
    explicit Progressbar(const util::xml::Element& element);

    EventRange getEventRange() const override { return {0x42C0, 0x4300}; }
    componentinterface::Interface* getInterface() override { return this; }
    double getProgress() const override { return progress; }
    void setProgress(double value) override { progress = value; }

    class Factory : public ComponentFactory::Factory {
    public:
        Factory() : ComponentFactory::Factory("progressbar") {}
        Component* create(const util::xml::Element& element) override;
    };

private:
    double progress = 0;
};

} // namespace mvk::gui::component
