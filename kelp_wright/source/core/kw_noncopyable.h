// Kelpwright: a base class that forbids copying and assignment of the class
// deriving from it (game states, which the state machine tracks by address).
#pragma once

namespace Kelpwright {
namespace Core {

class Noncopyable {
protected:
    Noncopyable() = default;
    ~Noncopyable() = default;

public:
    Noncopyable(const Noncopyable&) = delete;
    Noncopyable& operator=(const Noncopyable&) = delete;
};

} // namespace Core
} // namespace Kelpwright
