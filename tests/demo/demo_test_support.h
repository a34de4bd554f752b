// Test support for the game states: one GameApplication for the whole test
// program, published through the global pointers as the entry point does, and
// exact comparisons of points and paths. No window exists in these tests.
#pragma once

#include "application_globals.h"
#include "game/kw_game_application.h"
#include "math/vector3.h"
#include "visualization/visualization.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

// At most one GameApplication may be made per process, so every test shares it.
inline void PublishTestApplication()
{
    static Kelpwright::Game::GameApplication application;
    gGameApplication = &application;
    gApplication = &application;
}

// Every coordinate's bit pattern, in point order: exact down to the sign of zero.
inline std::vector<std::uint32_t> Bits(const std::vector<Skidwell::Vector3>& points)
{
    std::vector<std::uint32_t> bits(3 * points.size());
    for (size_t i = 0; i < points.size(); ++i) {
        const float coordinates[3] = {points[i].x, points[i].y, points[i].z};
        std::memcpy(&bits[3 * i], coordinates, sizeof(coordinates));
    }
    return bits;
}

inline void ExpectSamePath(const Skidwell::PathPrimitive& expected, const Skidwell::PathPrimitive& actual)
{
    EXPECT_EQ(expected.color, actual.color);
    EXPECT_EQ(expected.closed, actual.closed);
    EXPECT_EQ(Bits(expected.points), Bits(actual.points));
}

// The circle the store makes for these arguments (its geometry is tested on its own).
inline Skidwell::PathPrimitive Circle(const Skidwell::Vector3& center, float radius, Skidwell::Color color)
{
    Skidwell::Visualization reference;
    reference.AddCircle(center, radius, color, true);
    return reference.GetTemporaryPaths().at(0);
}
