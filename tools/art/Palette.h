// The one palette every Kestrin picture is drawn from: muted night-office blues and
// beiges with a few warm accents, and one ink for outlines.
#pragma once

#include "Canvas.h"

namespace Pal
{
constexpr Color kClear = Color{0, 0, 0, 0};
constexpr Color kInk = Hex(0x1b1a26);
constexpr Color kShadow = Hex(0x000000, 70);
constexpr Color kWhite = Hex(0xf4f1e8);
constexpr Color kPaper = Hex(0xe6e0cf);

constexpr Color kNight = Hex(0x20243a);
constexpr Color kNightDeep = Hex(0x141628);
constexpr Color kWallDark = Hex(0x3b3f58);
constexpr Color kWall = Hex(0x5a6082);
constexpr Color kWallLight = Hex(0x8a90b2);
constexpr Color kWallTop = Hex(0xb3b8d2);

constexpr Color kCarpet = Hex(0x4f6878);
constexpr Color kCarpetDark = Hex(0x445b69);
constexpr Color kCarpetLight = Hex(0x5c7686);
constexpr Color kLino = Hex(0xc9b795);
constexpr Color kLinoDark = Hex(0xb3a07e);
constexpr Color kHall = Hex(0x9ea4ab);
constexpr Color kHallDark = Hex(0x8a9097);

constexpr Color kWoodDark = Hex(0x6b4430);
constexpr Color kWood = Hex(0x9a6440);
constexpr Color kWoodLight = Hex(0xc58a58);
constexpr Color kMetalDark = Hex(0x5d6570);
constexpr Color kMetal = Hex(0x8c95a1);
constexpr Color kMetalLight = Hex(0xc9d0d8);
constexpr Color kScreen = Hex(0x23385a);
constexpr Color kGlow = Hex(0x6fd6ea);
constexpr Color kLeafDark = Hex(0x2c6238);
constexpr Color kLeaf = Hex(0x4b9447);
constexpr Color kLeafLight = Hex(0x8ac45a);
constexpr Color kPot = Hex(0xb8613e);
constexpr Color kCardboard = Hex(0xc0905a);
constexpr Color kCardboardDark = Hex(0x93663a);
constexpr Color kWater = Hex(0x7cc4ea);
constexpr Color kFabric = Hex(0x7a4a6a);
constexpr Color kFabricLight = Hex(0x9c6286);

constexpr Color kRed = Hex(0xd0463c);
constexpr Color kOrange = Hex(0xf08a3a);
constexpr Color kYellow = Hex(0xf2c94c);
constexpr Color kGreen = Hex(0x3fa35a);
constexpr Color kGreenLight = Hex(0x7fd66a);
constexpr Color kTeal = Hex(0x2f8f8a);
constexpr Color kTealLight = Hex(0x4fc0b0);
constexpr Color kBlue = Hex(0x3a6fd0);
} // namespace Pal
