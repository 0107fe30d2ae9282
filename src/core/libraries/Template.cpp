#include "core/libraries/Template.h"

#include "core/instances/SceneTagReader.h"
#include "core/libraries/LibraryManager.h"

namespace mvk::qvn::core {

Template* Template::make(Library* library, const util::xml::Element& root,
                         const std::string& baseFolder) {
    const util::xml::Element& tag =
        root.name() == "QVT_Plugin" ? root : root.child("QVT_Plugin", 0);
    util::xml::Element content = SceneTagReader::expand(tag);
    if (content.name() != "QVT_Plugin")
        return nullptr;
    const std::string& type = content.child("type", 0).text();
    if (LibraryManager::instance()->findTool(type) == nullptr)
        return nullptr;
    return new Template(library, std::move(content), root, baseFolder);
}

Template::Template(Library* library, util::xml::Element content, util::xml::Element outerTag,
                   std::string base)
    : Tool(library), templateContent(std::move(content)), outer(std::move(outerTag)),
      baseFolder(std::move(base)) {
    displayName = templateContent.child("name", 0).text();
    if (displayName.empty())
        displayName = templateContent.child("type", 0).text();
    if (displayName.empty())
        displayName = "(Unknown)";
    const util::xml::Element& custom = templateContent.child("customdata", 0);
    custom.forEachChild("category", [this](const util::xml::Element& category) {
        categoryList.push_back(category.text());
    });
    setUpProfileStores(dataFolder(), installedDataFolder());
}

InstanceReference* Template::createInstance(const std::string& name) {
    SceneTagReader reader;
    return reader.restore(templateContent, name);
}

void Template::makeToolTag(util::xml::Element& tag, const std::string&) const {
    tag.assign(templateContent);
}

} // namespace mvk::qvn::core
