// Skidwell: the three-float vector, the one geometric value type of the demo.
// Every operation rounds each component to a 32-bit float as it produces it,
// so chained expressions round after each step in the order written.
#pragma once

#include <cmath>

namespace Skidwell {

struct Vector3 {
    float x;
    float y;
    float z;

    Vector3()
        : x(0.0f)
        , y(0.0f)
        , z(0.0f)
    {
    }

    Vector3(float xValue, float yValue, float zValue)
        : x(xValue)
        , y(yValue)
        , z(zValue)
    {
    }

    Vector3 operator+(const Vector3& other) const { return Vector3(x + other.x, y + other.y, z + other.z); }
    Vector3 operator-(const Vector3& other) const { return Vector3(x - other.x, y - other.y, z - other.z); }
    Vector3 operator*(float scale) const { return Vector3(x * scale, y * scale, z * scale); }
    // Three true divisions: multiplying by 1/s would round differently.
    Vector3 operator/(float divisor) const { return Vector3(x / divisor, y / divisor, z / divisor); }
    Vector3 operator-() const { return Vector3(-x, -y, -z); }

    Vector3 Cross(const Vector3& other) const
    {
        return Vector3(y * other.z - z * other.y, z * other.x - x * other.z, x * other.y - y * other.x);
    }

    // Divides by the length, formed as (x*x + y*y) + z*z; a zero vector gives NaNs.
    Vector3 Normalized() const
    {
        const float squaredLength = (x * x + y * y) + z * z;
        const float length = std::sqrt(squaredLength);
        return *this / length;
    }

    void Normalize() { *this = Normalized(); }
};

// from + (to - from) * t; t is not clamped, so values outside 0..1 extrapolate.
inline Vector3 Lerp(float t, const Vector3& from, const Vector3& to) { return from + (to - from) * t; }

} // namespace Skidwell
