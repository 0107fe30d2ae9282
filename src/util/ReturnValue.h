#pragma once

namespace mvk::util {

// An out-parameter across a module boundary: the caller owns the target, the callee fills it
// through the holder's virtual operations, so the memory stays the caller's.
template <class T>
class ReturnValue {
public:
    explicit ReturnValue(T& target) : target(&target) {}
    virtual const T& get() const { return *target; }
    virtual T& get() { return *target; }
    virtual T& set(const T& value) {
        *target = value;
        return *target;
    }

private:
    T* target;
};

} // namespace mvk::util
