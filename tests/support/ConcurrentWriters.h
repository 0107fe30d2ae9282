#pragma once
// Two processes writing the same file at once, as two hosts on one machine do.
#include <functional>

namespace qvn::test {

// Forks two writer processes; each calls `write(writer)` (writer 0 or 1) `rounds` times and
// fails when a call answers false. Meanwhile this process calls `check()` over and over until
// both writers are done. Answers how many writers failed (a writer that cannot be started
// counts as failed).
int runTwoWriters(int rounds, const std::function<bool(int writer)>& write,
                  const std::function<void()>& check);

} // namespace qvn::test
