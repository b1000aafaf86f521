#include "disc/art/Camera.h"

#include <cmath>

namespace disc::art {

double dot(Vec3 a, Vec3 b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

Vec3 cross(Vec3 a, Vec3 b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

double length(Vec3 a)
{
    return std::sqrt(dot(a, a));
}

Vec3 normalised(Vec3 a)
{
    const double l = length(a);
    return l > 0 ? a * (1.0 / l) : a;
}

Vec3 turnedAboutY(Vec3 a, double angle)
{
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    return {a.x * c - a.z * s, a.y, a.x * s + a.z * c};
}

Camera::Camera(Vec3 eye, Vec3 target, double focal, QPointF centre)
    : eye_(eye), forward_(normalised(target - eye)), focal_(focal), centre_(centre)
{
    right_ = normalised(cross(Vec3{0, 1, 0}, forward_));
    up_ = cross(forward_, right_);
}

QPointF Camera::project(Vec3 point) const
{
    const Vec3 d = point - eye_;
    // Keep points at or behind the eye finite; nothing of a scene lies there.
    const double z = std::max(dot(d, forward_), 1.0);
    return {centre_.x() + focal_ * dot(d, right_) / z, centre_.y() - focal_ * dot(d, up_) / z};
}

QPolygonF Camera::project(std::initializer_list<Vec3> points) const
{
    QPolygonF polygon;
    polygon.reserve(qsizetype(points.size()));
    for (const Vec3& p : points)
        polygon << project(p);
    return polygon;
}

double Camera::depth(Vec3 point) const
{
    return dot(point - eye_, forward_);
}

double Camera::scaleAt(Vec3 point) const
{
    return focal_ / std::max(depth(point), 1.0);
}

bool Camera::sees(Vec3 point, Vec3 normal) const
{
    return dot(eye_ - point, normal) > 0;
}

} // namespace disc::art
