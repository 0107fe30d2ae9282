#pragma once
// The message box service every window and the core interface use.
#include <cstdint>
#include <string>

class QWidget;

namespace mvk::gui {

// Shows a modal box over `owner` (none when null) with the buttons and icon of `flags` and
// answers the code of the button pressed. In silent mode, unless `force` is set, no box is shown
// and the answer is platform::silentAnswer(); without a display none is shown either.
int32_t messageBox(QWidget* owner, const std::string& text, const std::string& caption,
                   uint32_t flags, bool force);

} // namespace mvk::gui
