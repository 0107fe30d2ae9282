#pragma once
// One tool of a tool library. The objects stay owned by the module that exports them.
#include "sdk/CCamera.h"
#include "sdk/CExtendable.h"

#include <cstdint>
#include <string>
#include <vector>

namespace mvk::qvn {

class CCameraPlugin : public CExtendable {
public:
    // The per-instance code object; null means failure.
    virtual CCamera* createCamera(const CCamera::CreateParam& param) = 0;
    // The tool name, also the identifier tools are found by.
    virtual std::string getName() const = 0;
    // The data sub-path, relative, with "/" separators.
    virtual std::string getDataPath() const = 0;
    virtual std::string getShortDescription() const = 0;
    // Categories separated by ";" ("Camera", "Vehicle", "Accessory").
    virtual std::string getCategory() const = 0;
    virtual std::string getLongDescription() const = 0;
    virtual std::string getAuthor() const = 0;
    virtual std::string getInfoText() const { return {}; }
    virtual void getFileList(std::vector<std::string>& files) const { files.clear(); }
    // Empties the caller's buffer (and may fill it); true on success.
    virtual bool getBlock(std::vector<uint8_t>& buffer) const {
        buffer.clear();
        return true;
    }
    // Shown as thousands "." hundreds "." the rest below 100 (8101 reads 8.1.1).
    virtual uint32_t getVersion() const = 0;
    // Called when the core lets go of the plug-in; the object stays the module's.
    virtual void release() {}
    virtual ~CCameraPlugin() = default;
};

// What a tool library exports.
extern "C" {
using GetModuleVersionFunction = uint32_t (*)();
using GetPluginFunction = CCameraPlugin* (*)(uint32_t index);
}
constexpr uint32_t ToolModuleVersion = 250;

} // namespace mvk::qvn
