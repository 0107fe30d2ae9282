#pragma once
// How the viewport maps scene positions to widget pixels: orthographic from the top, the front
// or the side, or in perspective through a camera node.
#include "RefNode.h"

#include <QPointF>
#include <QSizeF>

#include <optional>

namespace qvn::host {

struct Vec3 {
    double x = 0, y = 0, z = 0;
};

enum class View { Top = 0, Front = 1, Side = 2, Camera = 3 };

// The position of a node's global transform.
Vec3 positionOf(const Matrix& global);

class ViewProjection {
public:
    // The screen's right and up directions in the scene for an orthographic view.
    static void axesOf(View view, Vec3& right, Vec3& up);
    // Looks at `center` along the view's axis; `scale` is pixels per scene unit.
    static ViewProjection orthographic(View view, Vec3 center, double scale, QSizeF size);
    // Through a camera with that global transform (looking along its -z, y up) and horizontal
    // field of view in degrees.
    static ViewProjection perspective(const Matrix& camera, double fieldOfView, QSizeF size);

    // Where `point` is drawn; nothing when it lies behind a perspective camera.
    std::optional<QPointF> project(Vec3 point) const;
    bool isPerspective() const { return perspectiveView; }
    // Orthographic views: pixels per scene unit.
    double pixelsPerUnit() const { return scale; }

private:
    bool perspectiveView = false;
    Vec3 origin;
    Vec3 right{1, 0, 0};
    Vec3 up{0, 1, 0};
    Vec3 back{0, 0, 1};
    double scale = 1.0;
    QPointF center;
};

} // namespace qvn::host
