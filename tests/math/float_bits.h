// Test support: a vector as the bit patterns of x, y and z, "3f800000 0 80000000": -0 and last bits show.
#pragma once

#include "math/vector3.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

namespace kwTest {

inline std::uint32_t Bits(float value)
{
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

inline std::string Hex(float value)
{
    char text[12];
    std::snprintf(text, sizeof text, "%x", Bits(value));
    return text;
}

inline std::string Hex(const Skidwell::Vector3& v) { return Hex(v.x) + " " + Hex(v.y) + " " + Hex(v.z); }

} // namespace kwTest
