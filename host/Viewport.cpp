#include "Viewport.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <vector>

namespace qvn::host {

namespace {

const QColor Background(248, 250, 252);
const QColor GridMinor(226, 232, 240);
const QColor GridMajor(203, 213, 225);
const QColor AxisRight(220, 38, 38, 150);
const QColor AxisUp(22, 163, 74, 150);
const QColor NodeFill(37, 99, 235);
const QColor CameraStroke(15, 23, 42);
const QColor Selection(245, 158, 11);
const QColor Label(51, 65, 85);
const QColor Link(148, 163, 184);

constexpr double PickRadius = 12.0;
constexpr double FrustumLength = 1.6;
constexpr double FrameAspect = 16.0 / 9.0;
constexpr double DefaultFieldOfView = 45.0;

const char* viewName(View view) {
    switch (view) {
    case View::Top:
        return "Top";
    case View::Front:
        return "Front";
    case View::Side:
        return "Side";
    case View::Camera:
        return "Camera";
    }
    return "";
}

double fieldOfViewOf(RefNode& node, double time) {
    mvk::qvn::CSnapshot* snapshot = node.getSnapshot(mvk::qvn::SnapshotKind::Lens, time);
    double fieldOfView = DefaultFieldOfView;
    if (snapshot != nullptr)
        fieldOfView = static_cast<mvk::qvn::CSnapshot_Lens*>(snapshot)->fov;
    node.releaseSnapshot(snapshot);
    return fieldOfView;
}

// A point given in the node's own frame, placed by its global transform.
Vec3 transformed(const Matrix& m, double x, double y, double z) {
    return {m[0] * x + m[1] * y + m[2] * z + m[3], m[4] * x + m[5] * y + m[6] * z + m[7],
            m[8] * x + m[9] * y + m[10] * z + m[11]};
}

double dot(Vec3 a, Vec3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// The spacing of grid lines in scene units: 1, 2 or 5 times a power of ten, at least `pixels`
// apart on screen.
double gridStep(double scale, double pixels) {
    const double wanted = pixels / std::max(scale, 1e-9);
    const double power = std::pow(10.0, std::floor(std::log10(wanted)));
    for (double factor : {1.0, 2.0, 5.0, 10.0})
        if (factor * power >= wanted)
            return factor * power;
    return 10 * power;
}

} // namespace

Viewport::Viewport(RefHost& host, QWidget* parent) : QWidget(parent), host(host) {
    setMinimumSize(320, 200);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void Viewport::setView(View view) {
    shownView = view;
    update();
}

void Viewport::setSelectedNode(const std::string& name) {
    selected = name;
    update();
}

RefNode* Viewport::viewCamera() const {
    RefNode* chosen = host.scene.find(selected);
    if (chosen != nullptr && chosen->hasLens())
        return chosen;
    for (RefNode* node : host.scene.nodes())
        if (node->hasLens())
            return node;
    return nullptr;
}

double Viewport::fittingScale() const {
    Vec3 right, up;
    ViewProjection::axesOf(shownView, right, up);
    double extent = 5.0;
    auto include = [&](const Matrix& global) {
        const Vec3 position = positionOf(global);
        extent = std::max({extent, std::abs(dot(position, right)), std::abs(dot(position, up))});
    };
    for (RefNode* node : host.scene.nodes()) {
        include(node->globalAt(host.time));
        for (const auto& key : node->transformKeys())
            include(node->globalAt(key.first));
    }
    const double room = std::min(width(), height()) * 0.45;
    return room / (extent * 1.15);
}

ViewProjection Viewport::projection() const {
    const QSizeF size(width(), height());
    if (shownView == View::Camera) {
        RefNode* camera = viewCamera();
        if (camera != nullptr)
            return ViewProjection::perspective(camera->globalAt(host.time),
                                               fieldOfViewOf(*camera, host.time), size);
    }
    return ViewProjection::orthographic(shownView, Vec3{}, fittingScale() * zoom, size);
}

std::optional<QPointF> Viewport::nodePosition(const std::string& name) const {
    RefNode* node = host.scene.find(name);
    if (node == nullptr)
        return std::nullopt;
    return projection().project(positionOf(node->globalAt(host.time)));
}

void Viewport::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), Background);
    const ViewProjection view = projection();
    drawGrid(painter, view);
    drawPath(painter, view);
    drawNodes(painter, view);
    drawCaption(painter);
}

void Viewport::drawGrid(QPainter& painter, const ViewProjection& view) const {
    if (view.isPerspective()) {
        // The ground: lines across y = 0 in short pieces, so the parts behind the camera drop out.
        for (int line = -20; line <= 20; line += 2) {
            painter.setPen(QPen(line == 0 ? GridMajor : GridMinor, 1));
            for (int piece = -20; piece < 20; ++piece) {
                const double a = piece, b = piece + 1;
                const auto p1 = view.project({double(line), 0, a});
                const auto p2 = view.project({double(line), 0, b});
                const auto q1 = view.project({a, 0, double(line)});
                const auto q2 = view.project({b, 0, double(line)});
                if (p1 && p2)
                    painter.drawLine(*p1, *p2);
                if (q1 && q2)
                    painter.drawLine(*q1, *q2);
            }
        }
        return;
    }
    const QPointF origin = *view.project({});
    const double pixels = gridStep(view.pixelsPerUnit(), 28.0) * view.pixelsPerUnit();
    const int first = static_cast<int>(std::floor(-origin.x() / pixels));
    const int last = static_cast<int>(std::ceil((width() - origin.x()) / pixels));
    for (int i = first; i <= last; ++i) {
        painter.setPen(QPen(i % 5 == 0 ? GridMajor : GridMinor, 1));
        const double x = origin.x() + i * pixels;
        painter.drawLine(QPointF(x, 0), QPointF(x, height()));
    }
    const int top = static_cast<int>(std::floor(-origin.y() / pixels));
    const int bottom = static_cast<int>(std::ceil((height() - origin.y()) / pixels));
    for (int i = top; i <= bottom; ++i) {
        painter.setPen(QPen(i % 5 == 0 ? GridMajor : GridMinor, 1));
        const double y = origin.y() + i * pixels;
        painter.drawLine(QPointF(0, y), QPointF(width(), y));
    }
    painter.setPen(QPen(AxisRight, 1.5));
    painter.drawLine(QPointF(0, origin.y()), QPointF(width(), origin.y()));
    painter.setPen(QPen(AxisUp, 1.5));
    painter.drawLine(QPointF(origin.x(), 0), QPointF(origin.x(), height()));
}

void Viewport::drawPath(QPainter& painter, const ViewProjection& view) const {
    RefNode* node = host.scene.find(selected);
    if (node == nullptr || node->transformKeys().size() < 2)
        return;
    QPainterPath path;
    bool drawing = false;
    for (const auto& key : node->transformKeys()) {
        const auto at = view.project(positionOf(node->globalAt(key.first)));
        if (!at) {
            drawing = false;
            continue;
        }
        if (drawing)
            path.lineTo(*at);
        else
            path.moveTo(*at);
        drawing = true;
    }
    QColor line = Selection;
    line.setAlpha(150);
    painter.setPen(QPen(line, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
}

void Viewport::drawNodes(QPainter& painter, const ViewProjection& view) const {
    RefNode* through = shownView == View::Camera ? viewCamera() : nullptr;
    QFont font = painter.font();
    font.setPointSizeF(8.5);
    painter.setFont(font);
    std::vector<QRectF> labels;
    for (RefNode* node : host.scene.nodes()) {
        if (!node->isVisible() || node == through)
            continue;
        const Matrix global = node->globalAt(host.time);
        const auto at = view.project(positionOf(global));
        if (RefNode* parent = node->parentNode()) {
            const auto parentAt = view.project(positionOf(parent->globalAt(host.time)));
            if (at && parentAt) {
                painter.setPen(QPen(Link, 1, Qt::DashLine));
                painter.drawLine(*at, *parentAt);
            }
        }
        if (node->hasLens())
            drawFrustum(painter, view, *node, global);
        if (!at)
            continue;
        const bool isSelected = node->getName() == selected;
        if (isSelected) {
            painter.setPen(QPen(Selection, 2));
            painter.setBrush(Qt::NoBrush);
            painter.drawEllipse(*at, 8, 8);
        }
        painter.setPen(QPen(Qt::white, 1.5));
        painter.setBrush(node->hasLens() ? CameraStroke : NodeFill);
        painter.drawEllipse(*at, 4.5, 4.5);
        painter.setPen(isSelected ? Selection.darker(130) : Label);
        const QString name = QString::fromStdString(node->getName());
        // Nodes in one place (a tool and its copy) get their names one below the other.
        QRectF box(*at + QPointF(10, -20), QSizeF(painter.fontMetrics().horizontalAdvance(name),
                                                  painter.fontMetrics().height()));
        while (std::any_of(labels.begin(), labels.end(),
                           [&box](const QRectF& used) { return used.intersects(box); }))
            box.translate(0, box.height() + 1);
        labels.push_back(box);
        painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, name);
    }
}

void Viewport::drawFrustum(QPainter& painter, const ViewProjection& view, RefNode& node,
                           const Matrix& global) const {
    constexpr double Pi = 3.14159265358979323846;
    const double halfWidth =
        FrustumLength * std::tan(std::clamp(fieldOfViewOf(node, host.time), 1.0, 170.0) * Pi / 360);
    const double halfHeight = halfWidth / FrameAspect;
    const auto apex = view.project(positionOf(global));
    std::optional<QPointF> corners[4];
    const double signs[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    for (int i = 0; i < 4; ++i)
        corners[i] = view.project(
            transformed(global, signs[i][0] * halfWidth, signs[i][1] * halfHeight, -FrustumLength));
    const bool isSelected = node.getName() == selected;
    painter.setPen(QPen(isSelected ? Selection : CameraStroke, isSelected ? 1.6 : 1.1));
    painter.setBrush(Qt::NoBrush);
    for (int i = 0; i < 4; ++i) {
        const auto& next = corners[(i + 1) % 4];
        if (apex && corners[i])
            painter.drawLine(*apex, *corners[i]);
        if (corners[i] && next)
            painter.drawLine(*corners[i], *next);
    }
    // A small triangle above the frame shows which way is up.
    const auto tip = view.project(transformed(global, 0, halfHeight * 1.6, -FrustumLength));
    const auto left =
        view.project(transformed(global, -halfWidth * 0.35, halfHeight * 1.1, -FrustumLength));
    const auto right =
        view.project(transformed(global, halfWidth * 0.35, halfHeight * 1.1, -FrustumLength));
    if (tip && left && right) {
        QPainterPath triangle;
        triangle.moveTo(*left);
        triangle.lineTo(*tip);
        triangle.lineTo(*right);
        triangle.closeSubpath();
        painter.drawPath(triangle);
    }
}

void Viewport::drawCaption(QPainter& painter) const {
    QString caption = viewName(shownView);
    if (shownView == View::Camera) {
        RefNode* camera = viewCamera();
        caption = camera ? "Camera: " + QString::fromStdString(camera->getName())
                         : "Camera: the scene has no camera";
    }
    QFont font = painter.font();
    font.setPointSizeF(9);
    font.setBold(true);
    painter.setFont(font);
    const QRectF box(10, 10, painter.fontMetrics().horizontalAdvance(caption) + 16, 22);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 220));
    painter.drawRoundedRect(box, 5, 5);
    painter.setPen(Label);
    painter.drawText(box, Qt::AlignCenter, caption);
}

void Viewport::mousePressEvent(QMouseEvent* event) {
    const ViewProjection view = projection();
    std::string picked;
    double best = PickRadius;
    for (RefNode* node : host.scene.nodes()) {
        const auto at = view.project(positionOf(node->globalAt(host.time)));
        if (!at)
            continue;
        const double distance = QLineF(*at, event->position()).length();
        if (distance <= best) {
            best = distance;
            picked = node->getName();
        }
    }
    if (picked.empty())
        return;
    setSelectedNode(picked);
    if (onNodePicked)
        onNodePicked(picked);
}

void Viewport::wheelEvent(QWheelEvent* event) {
    const double steps = event->angleDelta().y() / 120.0;
    zoom = std::clamp(zoom * std::pow(1.15, steps), 0.05, 50.0);
    update();
}

} // namespace qvn::host
