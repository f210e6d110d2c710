#pragma once

#include <cstddef>

namespace quorvane {

// A rectangle in the global display space, in points, with the semantics of
// the system's display rectangles: a negative width or height extends the
// rectangle towards smaller coordinates, and two rectangles are equal when
// they cover the same area (compared in standardised form).
struct DisplayRect {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;

    double minX() const;
    double minY() const;
    double maxX() const;
    double maxY() const;

    // The same area with a non-negative width and height.
    DisplayRect standardized() const;
    // The smallest rectangle with integer edges that contains this one.
    DisplayRect integral() const;

    bool operator==(const DisplayRect& other) const;
};

// Hash consistent with operator== (taken over the standardised form).
std::size_t hashValue(const DisplayRect& rect);

}  // namespace quorvane
