#include "core/windows/ProductPopout.h"

#include "core/Paths.h"
#include "core/libraries/Tool.h"
#include "core/windows/ToolMenus.h"
#include "core/windows/WindowBase.h"
#include "gui/Component.h"
#include "gui/componentinterface/Label.h"
#include "util/xml/Element.h"

#include <array>
#include <filesystem>

namespace mvk::qvn::core {

namespace {

// A tool without a picture of its own shows the image of its create button's category.
constexpr std::array<const char*, 4> CategoryPictures{"veh", "cam", "acc", "prm"};
constexpr const char* OwnPicture = "/button_product_default.png";

std::string joined(const std::vector<std::string>& pieces) {
    std::string text;
    for (const std::string& piece : pieces)
        text += (text.empty() ? "" : ", ") + piece;
    return text;
}

void setText(gui::Component& root, int32_t id, const std::string& text) {
    gui::Component* label = root.findById(id);
    if (label != nullptr)
        label->setLabel(text);
}

} // namespace

gui::Component* ProductPopout::build(const Tool& tool) {
    util::xml::Element layout;
    if (layout.load(WindowBase::layoutPath("qvn_popout_product.xml")) != util::xml::Element::Parsed)
        return nullptr;
    gui::ComponentFactory* factories = gui::ComponentFactory::existing();
    gui::Component* root = factories ? factories->create(layout) : nullptr;
    if (root == nullptr)
        return nullptr;
    const std::string data = getInstallPath("data");
    const std::string toolImages = tool.dataFolder() + "/images";
    root->setPathAlias("[images]", toolImages);
    root->setPathAlias("[coreimages]", data + "/core/images");
    root->setPathAlias("[coreicons]", data + "/core/icons");

    const std::vector<std::string> names = tool.identifiers();
    setText(*root, Name, names.empty() ? std::string() : names.front());
    setText(*root, Category, joined(tool.categories()));
    setText(*root, Description, tool.description());
    setText(*root, FurtherText, tool.furtherText());
    const auto group = static_cast<size_t>(ToolMenus::groupOf(tool));
    const std::string picture =
        std::filesystem::is_regular_file(toolImages + OwnPicture)
            ? std::string("[images]") + OwnPicture
            : std::string("[coreimages]/") + CategoryPictures[group] + ".png";
    if (auto* label = gui::interfaceOf<gui::componentinterface::Label>(root->findById(Picture)))
        label->setImage(picture);
    return root;
}

} // namespace mvk::qvn::core
