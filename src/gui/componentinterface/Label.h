#pragma once
#include "gui/componentinterface/Interface.h"

#include <string>

namespace mvk::gui::componentinterface {

class Label : public Interface {
public:
    // Resolves the path's aliases and shows the image; a file that cannot be loaded keeps the
    // previous picture, and an empty path shows the label's text instead.
    virtual void setImage(const std::string& path) = 0;
    virtual std::string getImage() const = 0;
};

} // namespace mvk::gui::componentinterface
