#pragma once
// One line into the core's log from a driver library. The core hands the writer over in the
// driver context; a core that does not offer one gets nothing written.
#include "unidevice/DriverContext.h"

#include <string>

namespace mvk::examples {

// Keeps the context's log writer for later lines (the context itself is gone after loading).
void takeLogWriter(const unidevice::DriverContext* context);
// Host thread only: the core's log is not shared with input threads.
void logLine(const std::string& line);

} // namespace mvk::examples
