#include "shape.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace mavu::demo {
namespace {

Bounds Around(float left, float top, float right, float bottom) {
  return {static_cast<int>(std::floor(left)) - 2, static_cast<int>(std::floor(top)) - 2,
          static_cast<int>(std::ceil(right)) + 2, static_cast<int>(std::ceil(bottom)) + 2};
}

Bounds Join(const Bounds& a, const Bounds& b) {
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
          std::max(a.bottom, b.bottom)};
}

}  // namespace

Shape Circle(Point centre, float radius) {
  return {[=](Point p) { return std::hypot(p.x - centre.x, p.y - centre.y) - radius; },
          Around(centre.x - radius, centre.y - radius, centre.x + radius, centre.y + radius)};
}

// Not an exact distance, but close enough near the edge for a soft outline.
Shape Ellipse(Point centre, float radiusX, float radiusY) {
  const float scale = std::min(radiusX, radiusY);
  return {[=](Point p) {
            const float dx = (p.x - centre.x) / radiusX;
            const float dy = (p.y - centre.y) / radiusY;
            return (std::hypot(dx, dy) - 1.0f) * scale;
          },
          Around(centre.x - radiusX, centre.y - radiusY, centre.x + radiusX, centre.y + radiusY)};
}

Shape RoundedBox(float left, float top, float right, float bottom, float radius) {
  const Point centre{(left + right) / 2, (top + bottom) / 2};
  const Point half{(right - left) / 2 - radius, (bottom - top) / 2 - radius};
  return {[=](Point p) {
            const float qx = std::abs(p.x - centre.x) - half.x;
            const float qy = std::abs(p.y - centre.y) - half.y;
            const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
            return outside + std::min(std::max(qx, qy), 0.0f) - radius;
          },
          Around(left, top, right, bottom)};
}

Shape ConvexPolygon(std::vector<Point> corners) {
  Point centre{0, 0};
  Bounds bounds = Around(corners[0].x, corners[0].y, corners[0].x, corners[0].y);
  for (const Point& c : corners) {
    centre = {centre.x + c.x / corners.size(), centre.y + c.y / corners.size()};
    bounds = Join(bounds, Around(c.x, c.y, c.x, c.y));
  }
  // Each edge as a line with its normal turned away from the centre.
  struct Edge {
    Point from;
    Point normal;
  };
  std::vector<Edge> edges;
  for (size_t i = 0; i < corners.size(); ++i) {
    const Point& a = corners[i];
    const Point& b = corners[(i + 1) % corners.size()];
    const float length = std::hypot(b.x - a.x, b.y - a.y);
    Point normal{(b.y - a.y) / length, (a.x - b.x) / length};
    if (normal.x * (centre.x - a.x) + normal.y * (centre.y - a.y) > 0) {
      normal = {-normal.x, -normal.y};
    }
    edges.push_back({a, normal});
  }
  return {[edges](Point p) {
            float distance = -1e9f;
            for (const Edge& e : edges) {
              distance =
                  std::max(distance, e.normal.x * (p.x - e.from.x) + e.normal.y * (p.y - e.from.y));
            }
            return distance;
          },
          bounds};
}

Shape Union(Shape a, Shape b) {
  const Bounds bounds = Join(a.bounds, b.bounds);
  return {[a = std::move(a.distance), b = std::move(b.distance)](Point p) {
            return std::min(a(p), b(p));
          },
          bounds};
}

Shape SmoothUnion(Shape a, Shape b, float blend) {
  const Bounds bounds = Join(a.bounds, b.bounds);
  return {[a = std::move(a.distance), b = std::move(b.distance), blend](Point p) {
            const float da = a(p);
            const float db = b(p);
            const float h = std::clamp(0.5f + 0.5f * (db - da) / blend, 0.0f, 1.0f);
            return db + (da - db) * h - blend * h * (1 - h);
          },
          bounds};
}

Shape Subtract(Shape from, Shape cut) {
  const Bounds bounds = from.bounds;
  return {[a = std::move(from.distance), b = std::move(cut.distance)](Point p) {
            return std::max(a(p), -b(p));
          },
          bounds};
}

Shape Intersect(Shape a, Shape b) {
  const Bounds bounds = a.bounds;
  return {[a = std::move(a.distance), b = std::move(b.distance)](Point p) {
            return std::max(a(p), b(p));
          },
          bounds};
}

Shape Outline(Shape shape, float width) {
  const Bounds bounds = shape.bounds;
  return {[d = std::move(shape.distance), width](Point p) {
            const float inside = d(p);
            return std::max(inside, -inside - width);
          },
          bounds};
}

}  // namespace mavu::demo
