#include "support/ModuleCuts.h"

#include "support/TestEnvironment.h"

#include <elf.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <fstream>

namespace qvn::test {

namespace {

void writeBytes(const std::string& to, const std::string& bytes) {
    std::ofstream out(to, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

} // namespace

std::vector<uint64_t> damagingCuts(const std::string& path) {
    const std::string bytes = TestEnvironment::readFile(path);
    Elf64_Ehdr header{};
    if (bytes.size() < sizeof header)
        return {};
    std::memcpy(&header, bytes.data(), sizeof header);
    uint64_t loadEnd = 0;
    for (int i = 0; i < header.e_phnum; ++i) {
        Elf64_Phdr segment{};
        const uint64_t at = header.e_phoff + uint64_t{header.e_phentsize} * i;
        if (at + sizeof segment > bytes.size())
            return {};
        std::memcpy(&segment, bytes.data() + at, sizeof segment);
        if (segment.p_type == PT_LOAD)
            loadEnd = std::max<uint64_t>(loadEnd, segment.p_offset + segment.p_filesz);
    }
    return {0,           20,          sizeof header,  header.e_phoff + header.e_phentsize + 10,
            loadEnd / 3, loadEnd / 2, loadEnd - 4096, loadEnd - 1};
}

void writeCut(const std::string& from, const std::string& to, uint64_t length) {
    const std::string bytes = TestEnvironment::readFile(from);
    writeBytes(to, bytes.substr(0, std::min<uint64_t>(length, bytes.size())));
}

void writeForeignCopy(const std::string& from, const std::string& to) {
    std::string bytes = TestEnvironment::readFile(from);
    const size_t at = offsetof(Elf64_Ehdr, e_machine);
    uint16_t machine = 0;
    if (bytes.size() < at + sizeof machine)
        return;
    std::memcpy(&machine, bytes.data() + at, sizeof machine);
    machine = machine == EM_X86_64 ? EM_AARCH64 : EM_X86_64;
    std::memcpy(bytes.data() + at, &machine, sizeof machine);
    writeBytes(to, bytes);
}

} // namespace qvn::test
