#pragma once

#include <functional>
#include <vector>

// Shapes as signed distances: negative inside, positive outside, in pixels.
// A painter turns the distance into coverage, which gives soft edges for free.
namespace mavu::demo {

struct Point {
  float x;
  float y;
};

struct Bounds {
  int left;
  int top;
  int right;
  int bottom;
};

struct Shape {
  std::function<float(Point)> distance;
  Bounds bounds;  // every point the shape covers lies inside
};

Shape Circle(Point centre, float radius);
Shape Ellipse(Point centre, float radiusX, float radiusY);
Shape RoundedBox(float left, float top, float right, float bottom, float radius);
// A convex polygon, its corners in either winding.
Shape ConvexPolygon(std::vector<Point> corners);
Shape Union(Shape a, Shape b);
// A union whose seams are rounded over about `blend` pixels, as clay joins.
Shape SmoothUnion(Shape a, Shape b, float blend);
Shape Subtract(Shape from, Shape cut);
// Where both shapes are.
Shape Intersect(Shape a, Shape b);
// The band of width `width` inside the outline of `shape`.
Shape Outline(Shape shape, float width);

}  // namespace mavu::demo
