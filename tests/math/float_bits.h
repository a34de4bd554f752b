// Test support: vectors compared by their bit patterns, so that -0 and +0 and
// last-bit differences all show; "x y z" in hexadecimal.
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

inline std::string Hex(const Skidwell::Vector3& v)
{
    char text[32];
    std::snprintf(text, sizeof text, "%x %x %x", Bits(v.x), Bits(v.y), Bits(v.z));
    return text;
}

} // namespace kwTest
