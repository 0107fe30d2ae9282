#pragma once
#include "gui/componentinterface/Interface.h"

#include <cstdint>
#include <string>

namespace mvk::gui::componentinterface {

class Button : public Interface {
public:
    // Image slots of setImage.
    static constexpr int ImageDefault = 0;
    static constexpr int ImagePressed = 1;
    static constexpr int ImageHover = 2;
    static constexpr int ImageToggleDefault = 3;
    static constexpr int ImageTogglePressed = 4;
    static constexpr int ImageToggleHover = 5;
    static constexpr int ImageDisabled = 6;
    static constexpr int ImageSlots = 7;

    // Stores the path, resolves its aliases and loads it; a failed load keeps the old image.
    virtual void setImage(int slot, const std::string& path) = 0;
    virtual void clearImages() = 0;
    // The default and pressed images are loaded, and for a toggle button the toggle ones too.
    virtual bool hasImages() const = 0;
    virtual void setToggle(bool toggle) = 0;
    virtual bool isToggle() const = 0;
    virtual void setChecked(bool checked) = 0;
    virtual bool isChecked() const = 0;
    virtual void setFlat(bool flat) = 0;
    virtual bool isFlat() const = 0;
    virtual void setFlatColorDefault(int32_t r, int32_t g, int32_t b, int32_t a) = 0;
    virtual void setFlatColorPressed(int32_t r, int32_t g, int32_t b, int32_t a) = 0;
    virtual void setFlatColorHover(int32_t r, int32_t g, int32_t b, int32_t a) = 0;
};

} // namespace mvk::gui::componentinterface
