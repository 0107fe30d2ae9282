#pragma once
// Damaged copies of real module files, as a careless installer or a full disk leaves them.
#include <cstdint>
#include <string>
#include <vector>

namespace qvn::test {

// Lengths at which the module at `path` is cut short: inside its ELF header, inside its program
// header table, and at several points inside its loadable segments (where the system loader
// would map pages past the end of the file).
std::vector<uint64_t> damagingCuts(const std::string& path);
// Writes the first `length` bytes of `from` to `to`.
void writeCut(const std::string& from, const std::string& to, uint64_t length);
// Writes a copy of `from` to `to` that claims another machine type.
void writeForeignCopy(const std::string& from, const std::string& to);

} // namespace qvn::test
