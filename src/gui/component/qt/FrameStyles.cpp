#include "gui/component/qt/FrameStyles.h"

#include <QFrame>

namespace mvk::gui::component::qt {

void FrameStyles::apply(QFrame* frame, componentinterface::FrameStyle style) {
    using componentinterface::FrameStyle;
    switch (style) {
    case FrameStyle::Normal:
    case FrameStyle::Raised:
        frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
        frame->setLineWidth(2);
        frame->setMidLineWidth(1);
        break;
    case FrameStyle::Sunken:
        frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        frame->setLineWidth(2);
        frame->setMidLineWidth(1);
        break;
    case FrameStyle::Thin:
        frame->setFrameStyle(QFrame::Box | QFrame::Plain);
        frame->setLineWidth(1);
        break;
    case FrameStyle::None:
        frame->setFrameStyle(QFrame::NoFrame);
        break;
    }
}

} // namespace mvk::gui::component::qt
