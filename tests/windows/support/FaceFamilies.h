#pragma once

// The families that "Arial" and "Verdana" are found under on Windows: the system's own faces
// (under Wine, the test prefix stands the same free faces as on Linux in for them).
inline constexpr const char* kArialFamily = "Arial";
inline constexpr const char* kVerdanaFamily = "Verdana";
