#include "gui/RunLoopTimer.h"

#include "gui/Toolkit.h"

namespace mvk::gui::qt {

RunLoopTimer::RunLoopTimer() { connect(this, &QTimer::timeout, this, &RunLoopTimer::onEvent); }

void RunLoopTimer::onEvent() { Toolkit::processEvents(); }

} // namespace mvk::gui::qt
