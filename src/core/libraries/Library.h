#pragma once
// A source of tools: the internal library, a plug-in module, or a pre-rigged model file.
#include "util/DynamicObject.h"

#include <string>
#include <vector>

namespace mvk::qvn::core {

class Tool;

class Library : public util::DynamicObject {
public:
    // Registers with the library manager. `module` is the loaded plug-in module (owned: unloaded
    // when the library goes), or null.
    explicit Library(std::string path, void* module = nullptr);
    // Destroys the tools last first, unloads the module and leaves the manager.
    ~Library() override;

    const std::string& getPath() const { return path; }
    // The file name without folder and extension.
    const std::string& getName() const { return name; }
    void* getModule() const { return module; }

    // Tools register themselves when made; the library owns them.
    void addTool(Tool* tool) { tools.push_back(tool); }
    void removeTool(Tool* tool);
    int toolCount() const { return static_cast<int>(tools.size()); }
    Tool* tool(int index) const;

    // The text after the last "/" or "\" up to the first "." after it.
    static std::string nameOf(const std::string& path);

private:
    std::string path;
    std::string name;
    void* module;
    std::vector<Tool*> tools;
};

} // namespace mvk::qvn::core
