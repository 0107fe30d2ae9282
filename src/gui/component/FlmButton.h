#pragma once
#include "gui/StdComponent.h"
#include "gui/componentinterface/FlmButton.h"

#include <array>

namespace mvk::gui::component {

// A button whose component children form the content of its drop-down panel.
class FlmButton : public StdComponent, public componentinterface::FlmButton {
public:
    // A floating-menu button reports its presses with the button's codes.
    static constexpr int32_t EventPressed = 0x4140;
    static constexpr int32_t EventReleased = 0x4141;
    using Color = std::array<int32_t, 4>;

    explicit FlmButton(const util::xml::Element& element);

    EventRange getEventRange() const override { return {0x4340, 0x4380}; }
    componentinterface::Interface* getInterface() override { return this; }
    util::xml::Element writeXml() const override;

    void hideDropDown() override {}
    void setImage(int slot, const std::string& path) override;
    void clearImages() override;
    bool hasImages() const override;

    std::string getImagePath(int slot) const;
    Color getFocusMarkerColor() const { return focusMarkerColor; }
    // Stored and written back; it changes nothing else.
    int32_t getDelay() const { return delay; }

    class Factory : public ComponentFactory::Factory {
    public:
        Factory() : ComponentFactory::Factory("flmbutton") {}
        Component* create(const util::xml::Element& element) override;
    };

protected:
    // Loads the resolved file into the slot; false leaves the slot's image as it was.
    virtual bool loadImage(int slot, const std::string& resolvedPath) { return false; }
    void loadPendingImages();
    bool isImageLoaded(int slot) const;

private:
    static bool validSlot(int slot) { return slot >= 0 && slot < ImageSlots; }

    std::array<std::string, ImageSlots> imagePaths;
    std::array<bool, ImageSlots> imageLoaded{};
    Color focusMarkerColor{0, 0, 0, 255};
    int32_t delay = 0;
};

} // namespace mvk::gui::component
