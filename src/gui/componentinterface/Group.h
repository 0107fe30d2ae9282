#pragma once
#include "gui/componentinterface/Box.h"

namespace mvk::gui::componentinterface {

// A titled box; the title is the component's label.
class Group : public Box {};

} // namespace mvk::gui::componentinterface
