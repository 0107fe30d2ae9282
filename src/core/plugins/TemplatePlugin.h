#pragma once
// The built-in template tools ("template", "PRM", "PRS", "PRC"): tools whose behaviour is
// described in XML. A template's code reads that description from the instance's custom data:
// input properties, configuration elements and virtual controls computed by expression scripts
// whenever the devices are polled.
#include "core/plugins/TemplateLogic.h"
#include "sdk/CCamera.h"
#include "sdk/CCameraPlugin.h"
#include "util/MessageNode.h"
#include "util/xml/Element.h"

#include <deque>
#include <string>
#include <vector>

class MathScript;

namespace mvk::qvn {
class CProperty;
class CVirtualControl;
} // namespace mvk::qvn

namespace mvk::qvn::core::plugins {

class TemplatePlugin : public CCameraPlugin {
public:
    class Code : public CCamera, public util::MessageNode {
    public:
        explicit Code(const CreateParam& param);
        ~Code() override;
        Code(const Code&) = delete;
        Code& operator=(const Code&) = delete;

        // 40 computes a virtual control, 42 announces the logic, 44 writes the logic into the
        // given element, 45 takes new content; 49 and 50 are only logged. Answers null.
        void* extend(uint32_t id, void* argument, intptr_t extra) override;
        // Builds properties, configuration and virtual controls from the content; always 0.
        int32_t initialize() override;

        const util::xml::Element& content() const { return templateContent; }
        bool isInBuildMode() const { return buildMode; }

    private:
        // Where one script parameter comes from at every update.
        struct Parameter {
            const double* real = nullptr;     // a spinner of real numbers
            const int32_t* integer = nullptr; // a spinner of integers
            bool fromProperty = false;
            std::string propertyName;
            CProperty* property = nullptr; // found once and kept: properties live as long as
                                           // the instance; looked up at each update until then
        };
        struct ControlLogic {
            CVirtualControl* control = nullptr; // null when the instance made none
            MathScript* script = nullptr;       // owned; null when the script would not build
            std::vector<Parameter> parameters;
        };
        // The variables behind the configuration elements; a deque keeps their addresses.
        struct ConfigValue {
            double real = 0.0;
            int32_t integer = 0;
            bool flag = false;
            std::string text;
        };
        struct SpinnerValue {
            const double* real = nullptr;
            const int32_t* integer = nullptr;
        };

        void addProperties();
        void buildConfig();
        void addConfigItem(const TemplateLogic::ConfigSpec& spec);
        void addVirtualControl(const TemplateLogic::ControlSpec& spec);
        Parameter bindParameter(const TemplateLogic::ParameterSpec& spec);
        ControlLogic* logicOf(const CVirtualControl* control);
        void compute(CVirtualControl* control);
        void writeLogic(util::xml::Element& target) const;
        util::xml::Element writeControl(const TemplateLogic::ControlSpec& spec,
                                        const MathScript* script) const;
        void setTreeIcon();

        util::xml::Element templateContent;
        bool buildMode = false;
        bool initialized = false;
        TemplateLogic logic;
        // One entry per control of the logic, in order: the map from virtual control to its
        // script and parameters. The instance asks for the controls in the order they were
        // made, so the entry after the last one asked for is looked at first.
        std::vector<ControlLogic> controls;
        size_t nextControl = 0;
        std::deque<ConfigValue> configValues;
        std::vector<SpinnerValue> spinners;
    };

    // The plug-in object of that name (one per name for the life of the process).
    static TemplatePlugin* get(const std::string& name);

    CCamera* createCamera(const CCamera::CreateParam& param) override;
    std::string getName() const override { return pluginName; }
    std::string getDataPath() const override { return "core/template"; }
    std::string getShortDescription() const override { return {}; }
    std::string getCategory() const override { return "PRS"; }
    std::string getLongDescription() const override { return {}; }
    std::string getAuthor() const override { return {}; }
    uint32_t getVersion() const override { return 8101; }

private:
    explicit TemplatePlugin(std::string name) : pluginName(std::move(name)) {}

    std::string pluginName;
};

} // namespace mvk::qvn::core::plugins
