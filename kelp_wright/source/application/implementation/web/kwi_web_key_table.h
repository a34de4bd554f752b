// Kelpwright web backend: the neutral key of a DOM KeyboardEvent.code, which
// names the physical key ("KeyW" is the key in W's place on any layout).
#pragma once

#include "application/kw_input_types.h"

namespace kwImplementation {
namespace Web {

// Key::Unknown for a code outside the neutral set.
Kelpwright::Application::Key KeyFromDomCode(const char* code);

} // namespace Web
} // namespace kwImplementation
