#include "ViewProjection.h"

#include <algorithm>
#include <cmath>

namespace qvn::host {

namespace {

constexpr double NearPlane = 0.05;

double dot(Vec3 a, Vec3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
Vec3 minus(Vec3 a, Vec3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

Vec3 normalized(Vec3 v) {
    const double length = std::sqrt(dot(v, v));
    return length > 0 ? Vec3{v.x / length, v.y / length, v.z / length} : v;
}

// Column `index` of the rotation part of a row-major transform.
Vec3 column(const Matrix& m, int index) {
    return {m[index], m[4 + index], m[8 + index]};
}

} // namespace

Vec3 positionOf(const Matrix& global) {
    return {global[3], global[7], global[11]};
}

void ViewProjection::axesOf(View view, Vec3& right, Vec3& up) {
    switch (view) {
    case View::Top: // from above, -z pointing up the screen
        right = {1, 0, 0};
        up = {0, 0, -1};
        return;
    case View::Side: // from +x, looking towards -x
        right = {0, 0, -1};
        up = {0, 1, 0};
        return;
    case View::Front:
    case View::Camera:
        right = {1, 0, 0};
        up = {0, 1, 0};
        return;
    }
}

ViewProjection ViewProjection::orthographic(View view, Vec3 center, double scale, QSizeF size) {
    ViewProjection projection;
    axesOf(view, projection.right, projection.up);
    projection.origin = center;
    projection.scale = scale;
    projection.center = QPointF(size.width() / 2, size.height() / 2);
    return projection;
}

ViewProjection ViewProjection::perspective(const Matrix& camera, double fieldOfView, QSizeF size) {
    constexpr double Pi = 3.14159265358979323846;
    ViewProjection projection;
    projection.perspectiveView = true;
    projection.origin = positionOf(camera);
    projection.right = normalized(column(camera, 0));
    projection.up = normalized(column(camera, 1));
    projection.back = normalized(column(camera, 2));
    const double half = std::clamp(fieldOfView, 1.0, 179.0) * Pi / 360.0;
    projection.scale = size.width() / 2 / std::tan(half);
    projection.center = QPointF(size.width() / 2, size.height() / 2);
    return projection;
}

std::optional<QPointF> ViewProjection::project(Vec3 point) const {
    const Vec3 offset = minus(point, origin);
    const double x = dot(offset, right);
    const double y = dot(offset, up);
    if (!perspectiveView)
        return QPointF(center.x() + x * scale, center.y() - y * scale);
    const double depth = -dot(offset, back);
    if (depth < NearPlane)
        return std::nullopt;
    return QPointF(center.x() + scale * x / depth, center.y() - scale * y / depth);
}

} // namespace qvn::host
