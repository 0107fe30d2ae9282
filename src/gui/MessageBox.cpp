#include "gui/MessageBox.h"

#include "platform/Interaction.h"

namespace mvk::gui {

int32_t silentAnswer(uint32_t flags) {
    using namespace platform::MessageBoxFlag;
    for (const unsigned button : {Ok, Yes, Save, Abort, Apply})
        if (flags & button)
            return static_cast<int32_t>(button);
    return static_cast<int32_t>(No);
}

int32_t messageBox(QWidget* owner, const std::string& text, const std::string& caption,
                   uint32_t flags, bool force) {
    if (platform::isSilent() && !force)
        return silentAnswer(flags);
    return platform::interaction().messageBox(owner, text, caption, flags);
}

} // namespace mvk::gui
