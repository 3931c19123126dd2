#include "shapes.hpp"

namespace shapes {

float Circle::area() const { return 3.14159f * radius * radius; }

void Canvas::add(const Circle& circle) { circles.push_back(circle); }

float Canvas::total_area() const {
    float total = 0;
    for (const Circle& c : circles) total += c.area();
    return total;
}

}  // namespace shapes
