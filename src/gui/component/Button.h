#pragma once
#include "gui/StdComponent.h"
#include "gui/componentinterface/Button.h"

#include <array>

namespace mvk::gui::component {

// A push button with optional images, flat colours and alternative contents: the component
// children of its element, of which one at a time is placed inside the button.
class Button : public StdComponent, public componentinterface::Button {
public:
    static constexpr int32_t EventPressed = 0x4140;
    static constexpr int32_t EventReleased = 0x4141;
    static constexpr int32_t EventClicked = 0x4142;
    using Color = std::array<int32_t, 4>;

    explicit Button(const util::xml::Element& element);

    EventRange getEventRange() const override { return {0x4140, 0x4180}; }
    componentinterface::Interface* getInterface() override { return this; }
    util::xml::Element writeXml() const override;

    void setImage(int slot, const std::string& path) override;
    void clearImages() override;
    bool hasImages() const override;
    void setToggle(bool value) override { toggle = value; }
    bool isToggle() const override { return toggle; }
    void setChecked(bool value) override { checked = value; }
    bool isChecked() const override { return checked; }
    void setFlat(bool value) override { flat = value; }
    bool isFlat() const override { return flat; }
    void setFlatColorDefault(int32_t r, int32_t g, int32_t b, int32_t a) override;
    void setFlatColorPressed(int32_t r, int32_t g, int32_t b, int32_t a) override;
    void setFlatColorHover(int32_t r, int32_t g, int32_t b, int32_t a) override;

    std::string getImagePath(int slot) const;
    bool isImageLoaded(int slot) const;
    Color getFlatColorDefault() const { return flatDefault; }
    Color getFlatColorPressed() const { return flatPressed; }
    Color getFlatColorHover() const { return flatHover; }
    // The content child placed inside the button.
    int getContentIndex() const { return contentIndex; }

    class Factory : public ComponentFactory::Factory {
    public:
        Factory() : ComponentFactory::Factory("button") {}
        Component* create(const util::xml::Element& element) override;
    };

protected:
    // Loads the resolved file into the slot; false leaves the slot's image as it was.
    virtual bool loadImage(int slot, const std::string& resolvedPath) { return false; }
    // Called after images were loaded or cleared.
    virtual void imagesChanged() {}
    // Loads the slots whose path is set but whose image is not, once aliases are known.
    void loadPendingImages();
    // Moves to the next content child, back to the first after the last.
    void advanceContent();

private:
    static bool validSlot(int slot) { return slot >= 0 && slot < ImageSlots; }

    std::array<std::string, ImageSlots> imagePaths;
    std::array<bool, ImageSlots> imageLoaded{};
    bool toggle = false;
    bool checked = false;
    bool flat = false;
    Color flatDefault{};
    Color flatPressed{};
    Color flatHover{};
    int contentIndex = 0;
};

} // namespace mvk::gui::component
