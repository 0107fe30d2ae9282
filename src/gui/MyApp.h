#pragma once
#include <QApplication>

namespace mvk::gui::qt {

// The toolkit's single application object. The host owns the process and its loop; this object
// never runs an event loop of its own.
class MyApp : public QApplication {
    Q_OBJECT
public:
    MyApp();
    ~MyApp() override;
};

} // namespace mvk::gui::qt
