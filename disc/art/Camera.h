#pragma once
// A pinhole camera for the desk photographs. World units are centimetres: x to the
// right, y up (the desk top at y 0), z away from the photographer.

#include <QPointF>
#include <QPolygonF>

#include <initializer_list>

namespace disc::art {

struct Vec3 {
    double x = 0, y = 0, z = 0;
};

inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(Vec3 a, double s) { return {a.x * s, a.y * s, a.z * s}; }
double dot(Vec3 a, Vec3 b);
Vec3 cross(Vec3 a, Vec3 b);
double length(Vec3 a);
Vec3 normalised(Vec3 a);
// Rotates a about the vertical axis by angle radians (positive turns +x towards +z).
Vec3 turnedAboutY(Vec3 a, double angle);

class Camera {
public:
    // A camera at eye looking at target; focal length in pixels; centre of the picture.
    Camera(Vec3 eye, Vec3 target, double focal, QPointF centre);

    QPointF project(Vec3 point) const;
    QPolygonF project(std::initializer_list<Vec3> points) const;
    // Distance along the viewing direction; points behind the camera give <= 0.
    double depth(Vec3 point) const;
    // Pixels per centimetre for something at point, facing the camera.
    double scaleAt(Vec3 point) const;
    // Whether a surface at point with normal faces the camera.
    bool sees(Vec3 point, Vec3 normal) const;

    Vec3 eye() const { return eye_; }
    double focal() const { return focal_; }

private:
    Vec3 eye_;
    Vec3 forward_;
    Vec3 right_;
    Vec3 up_;
    double focal_;
    QPointF centre_;
};

} // namespace disc::art
