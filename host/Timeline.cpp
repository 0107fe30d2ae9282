#include "Timeline.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace qvn::host {

namespace {

const QColor Background(255, 255, 255);
const QColor Border(226, 232, 240);
const QColor TrackFill(241, 245, 249);
const QColor Tick(148, 163, 184);
const QColor Text(100, 116, 139);
const QColor Key(245, 158, 11);
const QColor KeyEdge(180, 83, 9);
const QColor Playhead(225, 29, 72);

constexpr double Margin = 14.0;
constexpr double RulerHeight = 22.0;

// Seconds between labelled ticks, so that labels stay at least `pixels` apart.
double labelStep(double pixelsPerSecond, double pixels) {
    for (double step : {0.1, 0.2, 0.5, 1.0, 2.0, 5.0, 10.0, 30.0, 60.0, 120.0, 300.0, 600.0})
        if (step * pixelsPerSecond >= pixels)
            return step;
    return 3600.0;
}

QString secondsText(double seconds) {
    return QString::number(seconds, 'f', std::abs(seconds - std::round(seconds)) < 1e-9 ? 0 : 1) +
           "s";
}

} // namespace

Timeline::Timeline(RefHost& host, QWidget* parent) : QWidget(parent), host(host) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFixedHeight(72);
    setCursor(Qt::PointingHandCursor);
}

void Timeline::setSelectedNode(const std::string& name) {
    selected = name;
    update();
}

std::vector<double> Timeline::keyTimes() const {
    std::vector<double> times;
    if (RefNode* node = host.scene.find(selected))
        for (const auto& key : node->transformKeys())
            times.push_back(key.first);
    return times;
}

QRectF Timeline::track() const {
    return QRectF(Margin, 6, std::max(1.0, width() - 2 * Margin), height() - 12);
}

double Timeline::xOf(double time) const {
    const QRectF area = track();
    const double span = host.rangeEnd - host.rangeStart;
    if (!(span > 0))
        return area.left();
    return area.left() + (time - host.rangeStart) / span * area.width();
}

double Timeline::timeAt(double x) const {
    const QRectF area = track();
    const double span = host.rangeEnd - host.rangeStart;
    double time = host.rangeStart + (x - area.left()) / area.width() * span;
    if (host.frameRate > 0)
        time = std::round(time * host.frameRate) / host.frameRate;
    return std::clamp(time, host.rangeStart, host.rangeEnd);
}

void Timeline::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), Background);
    painter.setPen(Border);
    painter.drawLine(QPointF(0, 0.5), QPointF(width(), 0.5));
    const QRectF area = track();
    painter.setPen(Qt::NoPen);
    painter.setBrush(TrackFill);
    painter.drawRoundedRect(area.adjusted(0, RulerHeight, 0, 0), 4, 4);
    drawRuler(painter, area);
    drawKeys(painter, area);
    drawPlayhead(painter, area);
}

void Timeline::drawRuler(QPainter& painter, const QRectF& area) const {
    const double span = host.rangeEnd - host.rangeStart;
    if (!(span > 0))
        return;
    const double pixelsPerSecond = area.width() / span;
    QFont font = painter.font();
    font.setPointSizeF(8);
    painter.setFont(font);
    // Frame ticks when they are far enough apart to read.
    if (host.frameRate > 0 && pixelsPerSecond / host.frameRate >= 5) {
        painter.setPen(QPen(Tick.lighter(130), 1));
        const double frame = 1.0 / host.frameRate;
        for (double t = std::ceil(host.rangeStart / frame) * frame; t <= host.rangeEnd + 1e-9;
             t += frame)
            painter.drawLine(QPointF(xOf(t), area.top() + RulerHeight - 5),
                             QPointF(xOf(t), area.top() + RulerHeight));
    }
    const double step = labelStep(pixelsPerSecond, 56);
    for (double t = std::ceil(host.rangeStart / step - 1e-9) * step; t <= host.rangeEnd + 1e-9;
         t += step) {
        const double x = xOf(t);
        painter.setPen(QPen(Tick, 1));
        painter.drawLine(QPointF(x, area.top() + RulerHeight - 9),
                         QPointF(x, area.top() + RulerHeight));
        painter.setPen(Text);
        const QRectF label(x - 30, area.top(), 60, RulerHeight - 9);
        painter.drawText(label, Qt::AlignHCenter | Qt::AlignBottom, secondsText(t));
    }
}

void Timeline::drawKeys(QPainter& painter, const QRectF& area) const {
    const double middle = area.top() + RulerHeight + (area.height() - RulerHeight) / 2;
    const std::vector<double> times = keyTimes();
    // A take keys every sample: keys closer than a diamond's width are drawn as a band of
    // ticks instead.
    double closest = area.width();
    for (size_t i = 1; i < times.size(); ++i)
        closest = std::min(closest, xOf(times[i]) - xOf(times[i - 1]));
    const bool dense = closest < 9.0;
    painter.setPen(QPen(KeyEdge, 1));
    painter.setBrush(Key);
    for (double time : times) {
        if (time < host.rangeStart || time > host.rangeEnd)
            continue;
        const double x = xOf(time);
        if (dense) {
            painter.setPen(QPen(Key, 1));
            painter.drawLine(QPointF(x, middle - 6), QPointF(x, middle + 6));
            continue;
        }
        QPainterPath diamond;
        diamond.moveTo(x, middle - 5);
        diamond.lineTo(x + 4, middle);
        diamond.lineTo(x, middle + 5);
        diamond.lineTo(x - 4, middle);
        diamond.closeSubpath();
        painter.drawPath(diamond);
    }
}

void Timeline::drawPlayhead(QPainter& painter, const QRectF& area) const {
    const double x = xOf(std::clamp(host.time, host.rangeStart, host.rangeEnd));
    painter.setPen(QPen(Playhead, 2));
    painter.drawLine(QPointF(x, area.top() + RulerHeight - 2), QPointF(x, area.bottom()));
    QPainterPath handle;
    handle.moveTo(x - 6, area.top() + RulerHeight - 10);
    handle.lineTo(x + 6, area.top() + RulerHeight - 10);
    handle.lineTo(x, area.top() + RulerHeight - 2);
    handle.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(Playhead);
    painter.drawPath(handle);
}

void Timeline::mousePressEvent(QMouseEvent* event) {
    scrubTo(event->position().x());
}

void Timeline::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton)
        scrubTo(event->position().x());
}

void Timeline::scrubTo(double x) {
    if (!scrubbing)
        return;
    if (onScrub)
        onScrub(timeAt(x));
}

} // namespace qvn::host
