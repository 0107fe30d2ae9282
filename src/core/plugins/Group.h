#pragma once
// The built-in "Group" tool: an empty object that groups other tools in the tree. The root of
// the instance tree is one.
#include "sdk/CCamera.h"
#include "sdk/CCameraPlugin.h"

namespace mvk::qvn::core::plugins {

class Group : public CCameraPlugin {
public:
    // The per-instance code: does nothing of its own.
    class Code : public CCamera {
    public:
        explicit Code(const CreateParam& param) : CCamera(param) {}
        int32_t initialize() override;
    };

    // The one plug-in object of the internal library.
    static Group* get();

    void* extend(uint32_t id, void* argument, intptr_t extra) override;
    CCamera* createCamera(const CCamera::CreateParam& param) override;
    std::string getName() const override { return "Group"; }
    std::string getDataPath() const override { return "core/emptyplugin"; }
    std::string getShortDescription() const override {
        return "Is used to group various tools together";
    }
    std::string getCategory() const override { return "Accessory"; }
    std::string getLongDescription() const override {
        return "This plugin is an empty object and does nothing.";
    }
    std::string getAuthor() const override { return {}; }
    uint32_t getVersion() const override { return 8101; }

private:
    Group();
};

} // namespace mvk::qvn::core::plugins
