// The one palette every Kestrin picture is drawn from: muted night-office blues and
// beiges with a few warm accents, and one ink for outlines.
#pragma once

#include "Canvas.h"

namespace Pal
{
constexpr Color Clear = Color{0, 0, 0, 0};
constexpr Color Ink = Hex(0x1b1a26);
constexpr Color Shadow = Hex(0x000000, 70);
constexpr Color White = Hex(0xf4f1e8);
constexpr Color Paper = Hex(0xe6e0cf);

constexpr Color Night = Hex(0x20243a);
constexpr Color NightDeep = Hex(0x141628);
constexpr Color WallDark = Hex(0x3b3f58);
constexpr Color Wall = Hex(0x5a6082);
constexpr Color WallLight = Hex(0x8a90b2);
constexpr Color WallTop = Hex(0xb3b8d2);

constexpr Color Carpet = Hex(0x4f6878);
constexpr Color CarpetDark = Hex(0x445b69);
constexpr Color CarpetLight = Hex(0x5c7686);
constexpr Color Lino = Hex(0xc9b795);
constexpr Color LinoDark = Hex(0xb3a07e);
constexpr Color Hall = Hex(0x9ea4ab);
constexpr Color HallDark = Hex(0x8a9097);

constexpr Color WoodDark = Hex(0x6b4430);
constexpr Color Wood = Hex(0x9a6440);
constexpr Color WoodLight = Hex(0xc58a58);
constexpr Color MetalDark = Hex(0x5d6570);
constexpr Color Metal = Hex(0x8c95a1);
constexpr Color MetalLight = Hex(0xc9d0d8);
constexpr Color Screen = Hex(0x23385a);
constexpr Color Glow = Hex(0x6fd6ea);
constexpr Color LeafDark = Hex(0x2c6238);
constexpr Color Leaf = Hex(0x4b9447);
constexpr Color LeafLight = Hex(0x8ac45a);
constexpr Color Pot = Hex(0xb8613e);
constexpr Color Cardboard = Hex(0xc0905a);
constexpr Color CardboardDark = Hex(0x93663a);
constexpr Color Water = Hex(0x7cc4ea);
constexpr Color Fabric = Hex(0x7a4a6a);
constexpr Color FabricLight = Hex(0x9c6286);

constexpr Color Red = Hex(0xd0463c);
constexpr Color Orange = Hex(0xf08a3a);
constexpr Color Yellow = Hex(0xf2c94c);
constexpr Color Green = Hex(0x3fa35a);
constexpr Color GreenLight = Hex(0x7fd66a);
constexpr Color Teal = Hex(0x2f8f8a);
constexpr Color TealLight = Hex(0x4fc0b0);
constexpr Color Blue = Hex(0x3a6fd0);
} // namespace Pal
