#include "gui/MessageBox.h"

#include "platform/Interaction.h"

namespace mvk::gui {

int32_t messageBox(QWidget* owner, const std::string& text, const std::string& caption,
                   uint32_t flags, bool force) {
    if (platform::isSilent() && !force)
        return platform::silentAnswer(flags);
    return platform::interaction().messageBox(owner, text, caption, flags);
}

} // namespace mvk::gui
