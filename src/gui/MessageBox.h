#pragma once
// The message box service every window and the core interface use.
#include <cstdint>
#include <string>

class QWidget;

namespace mvk::gui {

// Shows a modal box over `owner` (none when null) with the buttons and icon of `flags` and
// answers the code of the button pressed. In silent mode, unless `force` is set, no box is shown
// and the answer comes from silentAnswer().
int32_t messageBox(QWidget* owner, const std::string& text, const std::string& caption,
                   uint32_t flags, bool force);
// The answer a silent session gives: the first of Ok, Yes, Save, Abort and Apply among the
// buttons of `flags`; 32 (No) when none of them is offered.
int32_t silentAnswer(uint32_t flags);

} // namespace mvk::gui
