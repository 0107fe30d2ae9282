#pragma once
// The host's 3D view: the scene's nodes at the host's time, drawn from the top, the front, the
// side or through a camera node, with camera frustums and node names. A click picks a node.
#include "RefHost.h"
#include "ViewProjection.h"

#include <QWidget>

#include <functional>
#include <optional>
#include <string>

namespace qvn::host {

class Viewport : public QWidget {
public:
    explicit Viewport(RefHost& host, QWidget* parent = nullptr);

    void setView(View view);
    View view() const { return shownView; }
    // The node drawn highlighted (by name, so a deleted node simply stops being drawn).
    void setSelectedNode(const std::string& name);
    const std::string& selectedNode() const { return selected; }
    // The camera node the camera view looks through: the selected node when it has a lens,
    // else the first node with one; null when the scene has no camera.
    RefNode* viewCamera() const;
    // Where the node of that name is drawn now; nothing when there is no such node or it is
    // behind the camera.
    std::optional<QPointF> nodePosition(const std::string& name) const;

    // The user clicked on a node.
    std::function<void(const std::string&)> onNodePicked;

    QSize sizeHint() const override { return {720, 420}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    ViewProjection projection() const;
    // Pixels per scene unit that keep every node and its keyed path in the orthographic views.
    double fittingScale() const;
    void drawGrid(QPainter& painter, const ViewProjection& view) const;
    // The selected node's keyed positions, joined.
    void drawPath(QPainter& painter, const ViewProjection& view) const;
    void drawNodes(QPainter& painter, const ViewProjection& view) const;
    void drawFrustum(QPainter& painter, const ViewProjection& view, RefNode& node,
                     const Matrix& global) const;
    void drawCaption(QPainter& painter) const;

    RefHost& host;
    View shownView = View::Top;
    std::string selected;
    // The mouse wheel's zoom on top of the fitting scale.
    double zoom = 1.0;
};

} // namespace qvn::host
