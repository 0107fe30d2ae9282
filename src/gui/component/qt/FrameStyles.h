#pragma once
#include "gui/componentinterface/List.h"

class QFrame;

namespace mvk::gui::component::qt {

// Maps a frame style onto a Qt frame: "normal" a raised panel, "thin" a plain box of width 1,
// "sunken" a sunken panel, "raised" (labels) a raised panel, "none" no frame.
class FrameStyles {
public:
    static void apply(QFrame* frame, componentinterface::FrameStyle style);
};

} // namespace mvk::gui::component::qt
