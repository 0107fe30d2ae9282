#pragma once

namespace mvk::qvn {

// Where an interface operation that the other side never implemented lands. It returns to the
// caller (a host must never be taken down by a plug-in's omission); put a breakpoint on it to
// stop at the offending call.
__attribute__((noinline)) inline void debugBreak() {
    asm volatile("" ::: "memory");
}

} // namespace mvk::qvn
