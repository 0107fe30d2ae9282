#pragma once
// Loads the pictures of the components. On a screen drawn at more than one device pixel per
// point, a picture "name.png" is taken from "name@2x.png" when that file exists, so images stay
// sharp at 200 % scaling and keep their size in points.
#include <QPixmap>

#include <string>

namespace mvk::gui::component::qt {

class PixmapLoader {
public:
    // The picture at `path` (or its @2x twin); a null pixmap when neither can be read.
    static QPixmap load(const std::string& path);
    // "a/name.png" -> "a/name@2x.png"; empty when the file name has no extension.
    static std::string doubleSizePath(const std::string& path);
};

} // namespace mvk::gui::component::qt
