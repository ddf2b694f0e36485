#pragma once

#include <cstdint>

// Milliseconds of a monotonic clock since the library was loaded; wraps after 49 days.
uint32_t ProcessClockMs();
