#pragma once

#include "resources/artwork/Canvas.h"

// The editor's colours: a night-blue ground, darker inset panels, white captions and an
// ice-blue accent that sits well beside the steel-blue slider fill and the graphs' colours.
namespace artwork::palette {

inline constexpr Rgba kGroundTop = Hex(0x17234a);
inline constexpr Rgba kGroundBottom = Hex(0x0b1127);
inline constexpr Rgba kGlow = Hex(0x2c4a8a);

inline constexpr Rgba kPanel = Hex(0x060a18);
inline constexpr Rgba kPanelLift = Hex(0x0b1226);
inline constexpr Rgba kPanelEdge = Hex(0x34467a);
inline constexpr Rgba kPanelShade = Hex(0x000000, 0.55);
inline constexpr Rgba kGrid = Hex(0x8fa8e0, 0.07);

inline constexpr Rgba kCaption = Hex(0xffffff, 0.7);
inline constexpr Rgba kFaint = Hex(0xffffff, 0.35);
inline constexpr Rgba kLine = Hex(0xa9c4ff);

inline constexpr Rgba kAccent = Hex(0x72ccff);
inline constexpr Rgba kAccentCore = Hex(0xeef8ff);
inline constexpr Rgba kSteel = Hex(0x426eaa);

inline constexpr Rgba kGroove = Hex(0x03060f);

// The golden waveforms' mark.
inline constexpr Rgba kGold = Hex(0xf0b840);
inline constexpr Rgba kGoldCore = Hex(0xffeec4);

} // namespace artwork::palette
