#pragma once
// The host's timeline: the animation range with a ruler in seconds and frames, the keys of the
// selected node as ticks, and the current time as a playhead the user drags to scrub.
#include "RefHost.h"

#include <QWidget>

#include <functional>
#include <string>
#include <vector>

namespace qvn::host {

class Timeline : public QWidget {
public:
    explicit Timeline(RefHost& host, QWidget* parent = nullptr);

    // The node whose keys are shown.
    void setSelectedNode(const std::string& name);
    // The times of the keys shown: the selected node's.
    std::vector<double> keyTimes() const;
    // While off (a take is being recorded), clicks and drags leave the time alone.
    void setScrubbingEnabled(bool enabled) { scrubbing = enabled; }

    // The x coordinate of a time, and the time at an x coordinate, snapped to whole frames and
    // kept inside the range.
    double xOf(double time) const;
    double timeAt(double x) const;

    // The user moved the playhead to this time.
    std::function<void(double)> onScrub;

    QSize sizeHint() const override { return {720, 72}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QRectF track() const;
    void drawRuler(QPainter& painter, const QRectF& area) const;
    void drawKeys(QPainter& painter, const QRectF& area) const;
    void drawPlayhead(QPainter& painter, const QRectF& area) const;
    void scrubTo(double x);

    RefHost& host;
    std::string selected;
    bool scrubbing = true;
};

} // namespace qvn::host
