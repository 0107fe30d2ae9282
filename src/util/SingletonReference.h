#pragma once

namespace mvk::util {

// Anything the singleton collector can destroy.
class SingletonReference {
public:
    virtual void destroy() = 0;
    virtual ~SingletonReference() = default;
};

} // namespace mvk::util
