#pragma once
// A tool read from a pre-rigged model file: a stored instance tree of another tool.
#include "core/libraries/Tool.h"
#include "util/xml/Element.h"

namespace mvk::qvn::core {

class Template : public Tool {
public:
    // A template from a *.prm root element ("QVT", "qvn" or "QVT_Plugin"), or null when its
    // "type" names no loaded tool.
    static Template* make(Library* library, const util::xml::Element& root,
                          const std::string& baseFolder);

    std::string description() const override { return {}; }
    std::string furtherText() const override { return {}; }
    bool isCreatable() const override { return true; }
    int kind() const override { return KindTemplate; }
    std::vector<std::string> identifiers() const override { return {displayName}; }
    std::vector<std::string> categories() const override { return categoryList; }
    // base folder + "/data"
    std::string dataFolder() const override { return baseFolder + "/data"; }
    std::string installedDataFolder() const override { return dataFolder(); }
    std::string helpDocument() const override { return baseFolder + "/doc/index.html"; }
    // Rebuilds the stored instance tree, named `name` or else the stored name; null when the
    // stored tool is missing or its instance will not start. A template makes no bare object.
    InstanceReference* createInstance(const std::string& name) override;
    Instance* createInstanceObject(const std::string&) override { return nullptr; }
    void makeToolTag(util::xml::Element& tag, const std::string& name) const override;

    const util::xml::Element& content() const { return templateContent; }
    const util::xml::Element& outerElement() const { return outer; }
    const std::string& getBaseFolder() const { return baseFolder; }

private:
    Template(Library* library, util::xml::Element content, util::xml::Element outer,
             std::string baseFolder);

    util::xml::Element templateContent;
    util::xml::Element outer;
    std::string displayName;
    std::string baseFolder;
    std::vector<std::string> categoryList;
};

} // namespace mvk::qvn::core
