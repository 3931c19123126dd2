#pragma once
#include <vector>

namespace shapes {

struct Circle {
    float radius;
    float area() const;
};

class Canvas {
  public:
    void add(const Circle& circle);
    float total_area() const;

  private:
    std::vector<Circle> circles;
};

}  // namespace shapes
