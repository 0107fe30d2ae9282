#include "core/windows/ExternalDocument.h"

#include "platform/Interaction.h"
#include "util/Log.h"

#include <QDesktopServices>
#include <QUrl>

namespace mvk::qvn::core {

void openExternalDocument(const std::string& pathOrAddress) {
    const QString text = QString::fromStdString(pathOrAddress);
    const QUrl url = text.contains("://") ? QUrl(text) : QUrl::fromLocalFile(text);
    if (platform::isHeadless()) {
        util::Log::instance()->write("Not opening without a display", pathOrAddress,
                                     util::Log::Notice);
        return;
    }
    QDesktopServices::openUrl(url);
}

} // namespace mvk::qvn::core
