#pragma once
#include "gui/componentinterface/Interface.h"

#include <string>

namespace mvk::gui::componentinterface {

// A tool button that drops down a panel which can be torn off into a floating window.
class FlmButton : public Interface {
public:
    static constexpr int ImageDefault = 0;
    static constexpr int ImagePressed = 1;
    static constexpr int ImageHover = 2;
    static constexpr int ImageSlots = 3;

    virtual void hideDropDown() = 0;
    // Stores the path, resolves its aliases and loads it; a failed load keeps the old image.
    virtual void setImage(int slot, const std::string& path) = 0;
    virtual void clearImages() = 0;
    // The default and pressed images are loaded.
    virtual bool hasImages() const = 0;
};

} // namespace mvk::gui::componentinterface
