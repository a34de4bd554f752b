// Kelpwright: identifier types shared by the application layer.
#pragma once

#include <cstdint>

namespace Kelpwright {
namespace Application {

typedef std::uint16_t MenuIdentifier;
typedef std::uint16_t MenuItemIdentifier;

} // namespace Application
} // namespace Kelpwright
