#include "platform/DynamicLibrary.h"

#include "platform/RegularFile.h"

#include <dlfcn.h>
#include <elf.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <vector>

namespace mvk::platform {

const char* const moduleSuffix = ".so";
const char* const platformFolder = "linux/x64";

namespace {

thread_local std::string lastError;

std::string currentDirectory() {
    std::vector<char> buffer(PATH_MAX + 1, '\0');
    if (getcwd(buffer.data(), buffer.size()) == nullptr)
        return {};
    return buffer.data();
}

void rememberError() {
    const char* text = dlerror();
    lastError = text ? text : "";
}

#if defined(__x86_64__)
constexpr uint16_t OwnMachine = EM_X86_64;
#elif defined(__aarch64__)
constexpr uint16_t OwnMachine = EM_AARCH64;
#else
#error "unknown machine type for module files"
#endif

bool isOurKind(const Elf64_Ehdr& header) {
    return std::memcmp(header.e_ident, ELFMAG, SELFMAG) == 0 &&
           header.e_ident[EI_CLASS] == ELFCLASS64 && header.e_ident[EI_DATA] == ELFDATA2LSB &&
           header.e_machine == OwnMachine && header.e_type == ET_DYN;
}

// Every segment's bytes must be in the file: the loader maps them, and touching a mapped page
// past the end of a file raises SIGBUS, which no caller can turn into an error code.
std::string segmentsProblem(const RegularFile& file, const Elf64_Ehdr& header) {
    const uint64_t size = file.size();
    if (header.e_phentsize != sizeof(Elf64_Phdr) || header.e_phnum == 0 ||
        header.e_phnum == PN_XNUM)
        return "its program header table is malformed";
    const uint64_t tableLength = uint64_t{header.e_phnum} * sizeof(Elf64_Phdr);
    if (header.e_phoff > size || tableLength > size - header.e_phoff)
        return "its program headers lie past the end of the file";
    std::vector<Elf64_Phdr> segments(header.e_phnum);
    if (!file.readAt(segments.data(), tableLength, header.e_phoff))
        return "its program headers cannot be read";
    bool loadable = false;
    for (const Elf64_Phdr& segment : segments) {
        if (segment.p_offset > size || segment.p_filesz > size - segment.p_offset)
            return "a segment ends past the end of the file";
        loadable = loadable || segment.p_type == PT_LOAD;
    }
    return loadable ? std::string() : "it has no loadable segment";
}

// Why the module file cannot be handed to the loader, or "" when it can.
std::string moduleFileProblem(const std::string& path) {
    const RegularFile file(path);
    if (!file.isOpen())
        return path + ": " + file.why();
    Elf64_Ehdr header{};
    if (!file.readAt(&header, sizeof header, 0) || !isOurKind(header))
        return path + ": not a shared library for this machine";
    const std::string problem = segmentsProblem(file, header);
    return problem.empty() ? problem : path + ": damaged module file: " + problem;
}

// The check that precedes every dlopen; false with the reason kept for lastLoadError().
bool isLoadableModuleFile(const std::string& path) {
    std::string problem = moduleFileProblem(path);
    if (problem.empty())
        return true;
    lastError = std::move(problem);
    return false;
}

} // namespace

ModuleHandle loadLibrary(const std::string& path) {
    if (!isLoadableModuleFile(path))
        return nullptr;
    const std::string saved = currentDirectory();
    dlerror();
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr)
        rememberError();
    if (!saved.empty() && currentDirectory() != saved && chdir(saved.c_str()) != 0)
        lastError = "could not restore the working directory";
    return handle;
}

ModuleHandle loadLibraryFromItsFolder(const std::string& path) {
    if (!isLoadableModuleFile(path))
        return nullptr;
    const std::string saved = currentDirectory();
    const size_t slash = path.find_last_of('/');
    if (slash != std::string::npos && slash > 0 && chdir(path.substr(0, slash).c_str()) != 0)
        lastError = "could not enter the library's folder";
    dlerror();
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr)
        rememberError();
    if (!saved.empty() && chdir(saved.c_str()) != 0)
        lastError = "could not restore the working directory";
    return handle;
}

void* findSymbol(ModuleHandle module, const std::string& name) {
    if (module == nullptr)
        return nullptr;
    dlerror();
    void* address = dlsym(module, name.c_str());
    if (address == nullptr)
        rememberError();
    return address;
}

void freeLibrary(ModuleHandle module) {
    if (module != nullptr)
        dlclose(module);
}

std::string lastLoadError() { return lastError; }

ModuleHandle moduleOf(const void* address) {
    Dl_info info{};
    if (dladdr(address, &info) == 0)
        return nullptr;
    return info.dli_fbase;
}

std::string modulePathOf(const void* address) {
    Dl_info info{};
    if (dladdr(address, &info) == 0 || info.dli_fname == nullptr)
        return {};
    return info.dli_fname;
}

} // namespace mvk::platform
