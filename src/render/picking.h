// Element picking: the first entity near a clicked point, and the point of it to snap to.
#pragma once

#include "attributes/graphics_attributes.h"
#include "document/model.h"

namespace vardo {

// Looks for an entity near the world point (srx, sry) within the pick square of half size sra
// (world units), scanning the kinds in a fixed order (points, marks, lines, circles, arcs, texts,
// dimensions, solids) and each table from index 0; the first hit wins, not the nearest entity.
// Hidden layers never take part, auxiliary entities only while attr shows them. On a hit etp is
// the entity kind, eno its index in that kind's table and (picx, picy) the snap point in world
// coordinates. On a miss the result is false, etp and eno are 0 and picx, picy are untouched.
bool GetElement2(const TJGdata& doc, const TgraAttribute& attr, double srx, double sry, double sra,
                 int& etp, int& eno, double& picx, double& picy);

// An angle in radians brought into [0, 2*pi] (both ends included): the result of adding 2*pi while
// negative and then subtracting 2*pi while above 2*pi. NaN and infinities give NaN.
double FoldAngle(double a);

// A sweep in radians brought into [-2*pi, 2*pi]: the result of adding 2*pi while below -2*pi and
// subtracting 2*pi while above 2*pi. NaN and infinities give NaN.
double FoldSweep(double a);

// Crossing of the infinite lines through (x1,y1)-(x2,y2) and (x3,y3)-(x4,y4), with differences
// counting as zero on a 1e-12 scale: 0 when parallel (X, Y untouched), 1 when the crossing lies
// within both segments' bounding boxes (1e-12 tolerance), 2 when outside either.
int LineCross(double& X, double& Y, double x1, double y1, double x2, double y2, double x3,
              double y3, double x4, double y4);

}  // namespace vardo
