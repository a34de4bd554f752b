// Test support for the game states: one GameApplication for the whole test
// program, published through the global pointers as the entry point does, and
// a recorder of error reports. No window exists in these tests.
#pragma once

#include "application_globals.h"
#include "core/kw_error.h"
#include "game/kw_game_application.h"
#include "math/vector3.h"
#include "visualization/visualization.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

// At most one GameApplication may be made per process, so every test shares it.
inline void PublishTestApplication()
{
    static Kelpwright::Game::GameApplication application;
    gGameApplication = &application;
    gApplication = &application;
}

class ReportRecorder : public Kelpwright::Core::Error::ErrorHandlerInterface {
public:
    ReportRecorder() { Kelpwright::Core::Error::AddErrorHandler(this); }
    ~ReportRecorder() override { Kelpwright::Core::Error::RemoveErrorHandler(this); }
    void OnErrorFired(const std::string& message) override { messages.push_back(message); }

    size_t CountContaining(const std::string& text) const
    {
        size_t count = 0;
        for (const std::string& message : messages) {
            count += message.find(text) != std::string::npos ? 1 : 0;
        }
        return count;
    }

    std::vector<std::string> messages;
};

inline std::uint32_t FloatBits(float value)
{
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof(bits));
    return bits;
}

inline void ExpectSameVector(const Skidwell::Vector3& expected, const Skidwell::Vector3& actual)
{
    EXPECT_EQ(FloatBits(expected.x), FloatBits(actual.x)) << "x: " << expected.x << " vs " << actual.x;
    EXPECT_EQ(FloatBits(expected.y), FloatBits(actual.y)) << "y: " << expected.y << " vs " << actual.y;
    EXPECT_EQ(FloatBits(expected.z), FloatBits(actual.z)) << "z: " << expected.z << " vs " << actual.z;
}

inline void ExpectSamePath(const Skidwell::PathPrimitive& expected, const Skidwell::PathPrimitive& actual)
{
    EXPECT_EQ(expected.color, actual.color);
    EXPECT_EQ(expected.closed, actual.closed);
    ASSERT_EQ(expected.points.size(), actual.points.size());
    for (size_t i = 0; i < expected.points.size(); ++i) {
        SCOPED_TRACE(i);
        ExpectSameVector(expected.points[i], actual.points[i]);
    }
}

// The circle the store makes for these arguments (its geometry is tested on its own).
inline Skidwell::PathPrimitive Circle(const Skidwell::Vector3& center, float radius, Skidwell::Color color)
{
    Skidwell::Visualization reference;
    reference.AddCircle(center, radius, color, true);
    return reference.GetTemporaryPaths().at(0);
}
