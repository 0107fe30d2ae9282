#pragma once
// A painter that fills a component's widget before the widget draws its own content.
#include "util/DynamicObject.h"
#include "util/FactoryManager.h"
#include "util/Singleton.h"
#include "util/xml/Element.h"

namespace mvk::gui {

class Background;
class Component;
using BackgroundFactory = util::AbstractFactory<Background>;

class Background : public util::DynamicObject, public util::Singleton<BackgroundFactory> {
public:
    void destroy() override { delete this; }
    ~Background() override = default;
    // Fills the component's widget; called from the widget's own paint handler.
    virtual void paint(Component* component) = 0;
    // The "background" element that builds this painter again.
    virtual util::xml::Element writeXml() const = 0;
};

// Accepts "background" elements whose "type" is the factory's name.
class BackgroundFactoryBase : public BackgroundFactory::Factory {
public:
    using BackgroundFactory::Factory::Factory;
    bool canCreate(const util::xml::Element& element) const override {
        return element.name() == "background" && element.attribute("type") == getName();
    }
};

} // namespace mvk::gui
