// The picture families of the game and the helpers they share. Each Make function draws
// its family and writes it under the given Assets/ folder; it returns the number of
// files that could not be written.
#pragma once

#include "Canvas.h"

#include <string>

int MakeTiles(const std::string& assets);
int MakeCharacters(const std::string& assets);
int MakeInterface(const std::string& assets);
int MakeScreens(const std::string& assets);

// Scales a small drawing up by factor with nearest filtering and writes it; 0 on
// success, 1 on failure (the reason is printed).
int Save(const Canvas& art, int factor, const std::string& path);

// Outlines the drawing in ink and lays it over its own shadow, one pixel down and right.
Canvas WithDropShadow(Canvas art);

// A deterministic hash of a pixel position, 0..255: texture noise that never changes
// between runs.
int Noise(int x, int y, int seed);

// The figures the characters and the title pictures share.
enum class Facing
{
  Down,
  DownLeft,
  Left,
  UpLeft,
  Up
};

struct Look
{
  Color skin;
  Color hair;
  Color top;
  Color topDark;
  Color accent; // tie, collar or scarf
  Color legs;
  Color shoes;
  bool longHair;
  bool bald;
  bool hood;
};

// The player and the three co-workers, shared by the sprite sheets and the screens.
extern const Look kPlayerLook;
extern const Look kClerkLook;
extern const Look kBossLook;
extern const Look kAnalystLook;

// A 24 × 48 standing figure facing the given way (right-facing ones are mirrored by the
// caller), outlined in ink, with a soft shadow under the feet.
Canvas DrawFigure(const Look& look, Facing facing);
// The figure laid into a 24 × 48 frame of its own, mirrored left to right when asked.
Canvas FigureFrame(const Look& look, Facing facing, bool mirrored);
// Office objects shared by the tile set and the player's disguises.
Canvas DrawPlant(int width, int height);
Canvas DrawWaterCooler(int width, int height);
Canvas DrawBoxes(int width, int height);
Canvas DrawKeyCard(int size);

// Writes a Windows icon file holding the pictures as 32-bit images; 0 on success.
int WriteIco(const std::string& path, const Canvas* images, int count);
