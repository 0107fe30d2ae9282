#include "DemoScreenshots.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QWidget>

#include <filesystem>

namespace qvn::host {

namespace {

// Showing posts layout requests, which post resizes of their own: a few passes settle them.
void settle() {
    for (int pass = 0; pass < 6; ++pass) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QCoreApplication::sendPostedEvents();
    }
}

} // namespace

bool DemoScreenshots::take(const std::string& title, const std::string& file) {
    if (QApplication::instance() == nullptr)
        return false;
    settle();
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible() || window->windowTitle() != QString::fromStdString(title))
            continue;
        std::filesystem::create_directories(folder);
        const std::string path = folder + "/" + file;
        const QImage shot = window->grab().toImage();
        if (shot.isNull() || !shot.save(QString::fromStdString(path), "PNG"))
            return false;
        out << "screenshot of \"" << title << "\" written to: " << path << "\n";
        files.push_back(path);
        return true;
    }
    out << "no window \"" << title << "\" is shown\n";
    return false;
}

} // namespace qvn::host
