#pragma once

namespace mvk::qvn {

// Where an interface operation that the other side never implemented lands. It returns to the
// caller (a host must never be taken down by a plug-in's omission); put a breakpoint on it to
// stop at the offending call. Being inline, it is already a weak symbol: every module may carry
// a copy and one of them is used.
__attribute__((noinline, visibility("default"))) inline void debugBreak() {
    asm volatile("" ::: "memory");
}

} // namespace mvk::qvn
