#pragma once
// Drawing simple solids through the camera with flat lighting: quads (plain or
// with a picture mapped onto them), boxes, cylinders and balls, and the soft
// shadows they cast on the desk. Enough to build a convincing desk from parts.

#include "disc/art/Camera.h"

#include <QColor>
#include <QImage>
#include <QPainter>

#include <array>

namespace disc::art {

struct Light {
    Vec3 towards = normalised(Vec3{-0.3, 1.0, -0.45});  // direction to the light
    double ambient = 0.58;
    double diffuse = 0.5;
};

// What a prop draws with: the picture, the camera, the light, and a second
// painter for the shadow layer (blurred and laid over the desk before the
// standing things are drawn).
struct Stage {
    QPainter& painter;
    const Camera& camera;
    Light light;
    QPainter* shadows = nullptr;
};

using Quad = std::array<Vec3, 4>;   // corners in order round the face: top-left, top-right, bottom-right, bottom-left

double lightFactor(const Light& light, Vec3 normal);
QColor lit(const QColor& colour, double factor);

// A flat face; drawn only when it faces the camera unless twoSided.
void fillQuad(Stage& stage, const Quad& corners, const QColor& colour, bool twoSided = false);
// A picture mapped onto a face: the picture's corners go to the quad's corners.
// The face is shaded by the light unless shade is false.
void mapPicture(Stage& stage, const Quad& corners, const QImage& picture, bool shade = true, bool twoSided = false,
                double opacity = 1.0);
// The unit normal of a quad given in the corner order above, pointing out of its front.
Vec3 normalOf(const Quad& corners);

struct BoxLook {
    BoxLook(const QColor& plain) : colour(plain) {}
    QColor colour;
    const QImage* top = nullptr;     // mapped onto the top face (its top edge at the back)
    const QImage* front = nullptr;   // mapped onto the face towards -z
    const QImage* side = nullptr;    // mapped onto both side faces
    QColor topColour;                // used when valid and there is no top picture
    bool grounded = true;            // darken the lower part of the side faces
};

// A box standing on baseCentre, turned by yaw radians about the vertical axis.
void drawBox(Stage& stage, Vec3 baseCentre, Vec3 size, double yaw, const BoxLook& look);
// The eight corners of such a box: bottom four then top four, each in the order
// front-left, front-right, back-right, back-left.
std::array<Vec3, 8> boxCorners(Vec3 baseCentre, Vec3 size, double yaw);

// An upright cylinder or frustum (topRadius differs) with a rounded look; gloss adds
// a highlight. The top face is drawn in topColour when the camera sees it.
void drawCylinder(Stage& stage, Vec3 baseCentre, double radius, double height, const QColor& colour,
                  const QColor& topColour, double topRadius = -1, double gloss = 0.0);
// The projected outline of a horizontal circle.
QPolygonF circleOutline(const Camera& camera, Vec3 centre, double radius, int steps = 48);

// A ball shaded as lit from the light.
void drawBall(Stage& stage, Vec3 centre, double radius, const QColor& colour, double gloss = 0.3);

// Soft shadows on the desk plane (y = 0); strength 0 to 1.
void castShadowEllipse(Stage& stage, Vec3 centre, double radiusX, double radiusZ, double height, double strength);
void castShadowBox(Stage& stage, Vec3 baseCentre, Vec3 size, double yaw, double strength);

} // namespace disc::art
