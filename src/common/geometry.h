// Plane geometry helpers: rotation, angles, distances, segment crossing.
#pragma once

namespace vardo {

double RotX(double x, double y, double cx, double cy, double ang);
double RotY(double x, double y, double cx, double cy, double ang);
// Direction of (dx, dy) in radians, in [0, 2*pi) (negative angles get 6.28318530717958 added).
double LineAngle(double dx, double dy);
double LineAngleDeg(double dx, double dy);
double Distance(double x1, double y1, double x2, double y2);
bool IsSamePoint(double x1, double y1, double x2, double y2);

// Crossing of the lines through (x1,y1)-(x2,y2) and (x3,y3)-(x4,y4): 0 when there is no single
// crossing (X, Y untouched), 1 when it lies on both segments, 2 when outside either.
int SegCross(double& X, double& Y, double x1, double y1, double x2, double y2, double x3, double y3,
             double x4, double y4);

// An angle in degrees brought into [0, 360): the result of adding 360 while negative and then
// subtracting 360 while >= 360, computed with a remainder so that huge angles take no time.
// Infinities and NaN give 0.
double NormalizeDeg(double a);

}  // namespace vardo
