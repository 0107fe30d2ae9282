// The three entry points of the core library.
#include <cstdint>

extern "C" __attribute__((visibility("default"))) uint32_t getVersion() { return 9201; }
