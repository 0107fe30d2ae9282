#pragma once
#include <QTimer>

namespace mvk::gui::qt {

// Pumps Qt's events on every tick of the host's loop.
class RunLoopTimer : public QTimer {
    Q_OBJECT
public:
    RunLoopTimer();

public slots:
    void onEvent();
};

} // namespace mvk::gui::qt
