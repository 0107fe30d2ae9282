#include "gui/component/qt/PixmapLoader.h"

#include <QGuiApplication>

namespace mvk::gui::component::qt {

std::string PixmapLoader::doubleSizePath(const std::string& path) {
    const size_t dot = path.find_last_of('.');
    const size_t slash = path.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    return path.substr(0, dot) + "@2x" + path.substr(dot);
}

QPixmap PixmapLoader::load(const std::string& path) {
    QPixmap picture;
    const std::string twin = doubleSizePath(path);
    if (qGuiApp != nullptr && qGuiApp->devicePixelRatio() > 1.0 && !twin.empty() &&
        picture.load(QString::fromStdString(twin))) {
        picture.setDevicePixelRatio(2.0);
        return picture;
    }
    picture.load(QString::fromStdString(path));
    return picture;
}

} // namespace mvk::gui::component::qt
