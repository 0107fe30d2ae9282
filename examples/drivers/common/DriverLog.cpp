#include "DriverLog.h"

namespace mvk::examples {

namespace {
void (*writer)(const char*) = nullptr;
}

void takeLogWriter(const unidevice::DriverContext* context) {
    writer = context != nullptr ? context->log : nullptr;
}

void logLine(const std::string& line) {
    if (writer != nullptr)
        writer(line.c_str());
}

} // namespace mvk::examples
