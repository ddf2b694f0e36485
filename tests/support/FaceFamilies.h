#pragma once

// The families that the faces Windows programs name are found under: their metric-compatible
// free faces, through fontconfig.
inline constexpr const char* kArialFamily = "Liberation Sans";
inline constexpr const char* kVerdanaFamily = "DejaVu Sans";
