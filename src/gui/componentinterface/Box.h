#pragma once
#include "gui/componentinterface/Interface.h"

#include <cstdint>

namespace mvk::gui::componentinterface {

// Alignment and padding of the box containers ("list", "border", "group").
class Box : public Interface {
public:
    enum class Alignment { NotSet, Top, Bottom, Left, Right, Center };
    // Padding sides of setPadding and getPadding.
    static constexpr int Top = 0;
    static constexpr int Right = 1;
    static constexpr int Bottom = 2;
    static constexpr int Left = 3;

    virtual Alignment getValign() const = 0;
    virtual Alignment getHalign() const = 0;
    virtual void setValign(Alignment alignment) = 0;
    virtual void setHalign(Alignment alignment) = 0;
    virtual void setPadding(int side, int32_t value) = 0;
    virtual void setPaddings(int32_t top, int32_t right, int32_t bottom, int32_t left) = 0;
    virtual int32_t getPadding(int side) const = 0;
};

} // namespace mvk::gui::componentinterface
