#include "LayoutPreview.h"

#include "gui/Attributes.h"
#include "gui/Component.h"
#include "gui/Toolkit.h"
#include "util/xml/Element.h"

#include <QImage>
#include <QPixmap>
#include <QString>
#include <QWidget>

#include <ostream>
#include <sstream>

namespace qvn::tools {

namespace {

using mvk::gui::Component;

bool parseSize(const std::string& text, int& width, int& height) {
    std::istringstream stream(text);
    char separator = 0;
    if (!(stream >> width >> separator >> height) || (separator != 'x' && separator != 'X'))
        return false;
    return width > 0 && height > 0 && width <= mvk::gui::Attributes::LargestExtent &&
           height <= mvk::gui::Attributes::LargestExtent;
}

struct Destroy {
    void operator()(Component* component) const { component->destroy(); }
};

void registerAliases(Component* root, const std::string& dataFolder) {
    root->setPathAlias("[images]", dataFolder + "/core/images");
    root->setPathAlias("[coreimages]", dataFolder + "/core/images");
    root->setPathAlias("[coreicons]", dataFolder + "/core/icons");
}

bool writeScreenshot(Component* root, const LayoutPreview::Options& options) {
    if (options.width > 0)
        root->setSize({options.width, options.height});
    root->show();
    // A few passes: showing posts layout requests, which post resizes of their own.
    for (int pass = 0; pass < 4; ++pass)
        mvk::gui::Toolkit::processEvents();
    const QImage shot = root->getWidget()->grab().toImage();
    root->hide();
    return !shot.isNull() && shot.save(QString::fromStdString(options.png), "PNG");
}

} // namespace

void LayoutPreview::usage(std::ostream& out) {
    out << "usage: quorvane-layout FILE.xml [--png OUT.png] [--size WxH] [--dump]\n";
}

bool LayoutPreview::parse(int argc, char** argv, Options& options, std::ostream& errors) {
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--png" && i + 1 < argc) {
            options.png = argv[++i];
        } else if (argument == "--size" && i + 1 < argc) {
            if (!parseSize(argv[++i], options.width, options.height)) {
                errors << "quorvane-layout: the size must be WxH, each from 1 to "
                       << mvk::gui::Attributes::LargestExtent << "\n";
                return false;
            }
        } else if (argument == "--dump") {
            options.dump = true;
        } else if (!argument.empty() && argument[0] != '-' && options.layout.empty()) {
            options.layout = argument;
        } else {
            usage(errors);
            return false;
        }
    }
    if (options.layout.empty() || (options.png.empty() && !options.dump)) {
        usage(errors);
        return false;
    }
    return true;
}

void LayoutPreview::dump(Component* component, std::ostream& out, int depth) {
    out << std::string(static_cast<size_t>(depth) * 2, ' ') << component->getKindName()
        << " id=" << component->getId();
    if (!component->getLabel().empty())
        out << " \"" << component->getLabel() << "\"";
    out << "\n";
    for (int i = 0; i < component->childCount(); ++i)
        dump(component->child(i), out, depth + 1);
}

int LayoutPreview::run(const Options& options, const std::string& dataFolder, std::ostream& out,
                       std::ostream& errors) {
    mvk::util::xml::Element layout;
    if (layout.load(options.layout) != mvk::util::xml::Element::Parsed) {
        errors << "quorvane-layout: cannot read " << options.layout << "\n";
        return NoComponent;
    }
    mvk::gui::Toolkit::registerFactories();
    mvk::gui::Toolkit::start();
    std::unique_ptr<Component, Destroy> root(
        mvk::gui::ComponentFactory::instance()->create(layout));
    if (root == nullptr) {
        errors << "quorvane-layout: no component could be built from " << options.layout << "\n";
        return NoComponent;
    }
    registerAliases(root.get(), dataFolder);
    if (options.dump)
        dump(root.get(), out);
    if (!options.png.empty() && !writeScreenshot(root.get(), options)) {
        errors << "quorvane-layout: cannot write " << options.png << "\n";
        return CannotWrite;
    }
    return Done;
}

} // namespace qvn::tools
