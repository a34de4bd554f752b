// Test support: exact comparison of vectors by their bit patterns, so that -0
// and +0, and NaNs, are told apart and no tolerance hides a rounding.
#pragma once

#include "math/vector3.h"

#include <cstdint>
#include <cstring>
#include <sstream>
#include <string>

namespace kwTest {

inline std::uint32_t Bits(float value)
{
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// "x y z" as hexadecimal bit patterns: equal texts mean equal bits, and a mismatch shows all three.
inline std::string Hex(const Skidwell::Vector3& v)
{
    std::ostringstream text;
    text << std::hex << Bits(v.x) << " " << Bits(v.y) << " " << Bits(v.z);
    return text.str();
}

} // namespace kwTest
