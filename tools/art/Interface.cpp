// Interface: heads-up icons (keyboard and pad variants), the in-play buttons, the end
// and pause banners, and every widget of the menus. Drawn at half or a third of their
// size on screen and scaled up.
#include "Art.h"
#include "Palette.h"
#include "PixelFont.h"

#include <functional>
#include <vector>

namespace
{
// Hand-drawn 5 × 7 capitals for the single letters on keys and pad buttons, which the
// font cannot render legibly at that size.
const std::vector<std::string>& LetterRows(char letter)
{
  static const std::vector<std::pair<char, std::vector<std::string>>> letters = {
      {'A', {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
      {'B', {"####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."}},
      {'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}},
      {'J', {"..###", "...#.", "...#.", "...#.", "...#.", "#..#.", ".##.."}},
      {'K', {"#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"}},
      {'N', {"#...#", "##..#", "#.#.#", "#.#.#", "#..##", "#...#", "#...#"}},
      {'R', {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"}},
      {'X', {"#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"}},
      {'Y', {"#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."}},
  };
  static const std::vector<std::string> none;
  for (const auto& [c, rows] : letters)
    if (c == letter)
      return rows;
  return none;
}

// Draws a capital centred on (cx, cy).
void Letter(Canvas& c, int cx, int cy, char letter, Color color)
{
  const auto& rows = LetterRows(letter);
  for (size_t j = 0; j < rows.size(); ++j)
    for (size_t i = 0; i < rows[j].size(); ++i)
      if (rows[j][i] == '#')
        c.Put(cx - 2 + int(i), cy - 3 + int(j), color);
}

// A chunky button: ink outline, face colour with a lit top edge and a darker base that
// gives it depth.
void ButtonFace(Canvas& c, int x, int y, int w, int h, Color face)
{
  c.RoundRect(x, y, w, h, Pal::kInk);
  c.Rect(x + 1, y + 1, w - 2, h - 2, Shade(face, -0.35f));
  c.Rect(x + 1, y + 1, w - 2, h - 5, face);
  c.Rect(x + 2, y + 1, w - 4, 1, Shade(face, 0.35f));
  c.Rect(x + 1, y + 2, 1, h - 7, Shade(face, 0.2f));
}

Canvas TextButton(int w, int h, const std::string& text, Color face, int fontSize,
                  const std::function<void(Canvas&, int)>& glyph = nullptr)
{
  Canvas c(w, h);
  ButtonFace(c, 0, 0, w, h, face);
  PixelFont font(Fonts::kSansBold, fontSize);
  int textX = w / 2;
  if (glyph)
  {
    // The glyph sits at the left; the text centres in the rest.
    glyph(c, h / 2 - 2);
    textX = w / 2 + h / 3;
  }
  font.DrawCentred(c, textX, h / 2 - 2, text, Pal::kWhite, Shade(face, -0.55f));
  return c;
}

// A keyboard key cap with a letter, size × size.
void KeyCap(Canvas& c, int x, int y, int size, char letter)
{
  c.RoundRect(x, y, size, size, Pal::kInk);
  c.Rect(x + 1, y + 1, size - 2, size - 2, Hex(0x9aa0ae));
  c.Rect(x + 2, y + 1, size - 4, size - 5, Hex(0xe8e8ee));
  c.Rect(x + 3, y + 2, size - 6, 1, Pal::kWhite);
  Letter(c, x + size / 2, y + (size - 3) / 2, letter, Pal::kInk);
}

// A round pad face button with its letter.
void PadButton(Canvas& c, float cx, float cy, float r, char letter, Color color)
{
  c.Disc(cx, cy, r + 1, Pal::kInk);
  c.Disc(cx, cy + 1, r, Shade(color, -0.35f));
  c.Disc(cx, cy, r - 1, color);
  c.Disc(cx - r * 0.35f, cy - r * 0.4f, r * 0.3f, Shade(color, 0.35f));
  Letter(c, int(cx) + 1, int(cy) + 1, letter, Shade(color, -0.6f));
  Letter(c, int(cx), int(cy), letter, Pal::kWhite);
}

// The dark rounded plate every heads-up tile stands on, 25 × 25.
Canvas HudPlate()
{
  Canvas c(25, 25);
  c.RoundRect(0, 0, 25, 25, Pal::kInk);
  c.RoundRect(1, 1, 23, 23, Hex(0x2b2f45));
  c.Rect(2, 1, 21, 1, Hex(0x454b6a));
  return c;
}

// Heads-up tile: the plate, the action's emblem, and the key or pad button in the lower
// right corner.
Canvas HudIcon(const std::function<void(Canvas&)>& emblem,
               const std::function<void(Canvas&)>& binding)
{
  Canvas c = HudPlate();
  emblem(c);
  binding(c);
  return c;
}

void DisguiseEmblem(Canvas& c)
{
  Canvas plant = DrawPlant(14, 16);
  c.Blit(plant, 2, 2);
}

void StealthEmblem(Canvas& c)
{
  // A ghost: the player fading out.
  Color g = WithAlpha(Hex(0xc9e6f2), 220);
  c.Disc(9.5f, 8.5f, 5.5f, g);
  c.Rect(4, 8, 12, 7, g);
  c.Put(4, 15, g);
  c.Put(7, 15, g);
  c.Put(10, 15, g);
  c.Put(13, 15, g);
  c.Rect(7, 7, 2, 2, Pal::kInk);
  c.Rect(11, 7, 2, 2, Pal::kInk);
}

Canvas KeyIcon()
{
  Canvas c = HudPlate();
  Canvas card = DrawKeyCard(25);
  c.Blit(card, 0, 1);
  return c;
}

Canvas Banner(const std::string& text, Color ribbon, const std::string& subtitle)
{
  Canvas c(296, 61);
  // Ribbon ends folded behind the main band.
  Color back = Shade(ribbon, -0.4f);
  c.Rect(0, 14, 30, 34, Pal::kInk);
  c.Rect(1, 15, 28, 32, back);
  c.Rect(266, 14, 30, 34, Pal::kInk);
  c.Rect(267, 15, 28, 32, back);
  for (int i = 0; i < 9; ++i)
  {
    c.Erase(0, 22 + i, i + 1, 1);
    c.Erase(0, 39 - i, i + 1, 1);
    c.Erase(295 - i, 22 + i, i + 1, 1);
    c.Erase(295 - i, 39 - i, i + 1, 1);
  }
  c.RoundRect(16, 2, 264, 54, Pal::kInk);
  c.Rect(17, 3, 262, 52, Shade(ribbon, -0.3f));
  c.Rect(17, 3, 262, 47, ribbon);
  c.Rect(18, 3, 260, 2, Shade(ribbon, 0.35f));
  for (int x = 22; x < 276; x += 6)
  {
    c.Put(x, 7, Shade(ribbon, 0.2f));
    c.Put(x, 46, Shade(ribbon, -0.2f));
  }
  PixelFont big(Fonts::kSansBold, subtitle.empty() ? 30 : 26);
  int cy = subtitle.empty() ? 26 : 21;
  big.DrawCentred(c, 148, cy + 1, text, Shade(ribbon, -0.7f));
  big.DrawCentred(c, 148, cy, text, Pal::kWhite);
  if (!subtitle.empty())
  {
    PixelFont small(Fonts::kSansBold, 10);
    small.DrawCentred(c, 148, 42, subtitle, Shade(ribbon, 0.6f), Shade(ribbon, -0.6f));
  }
  return c;
}

Canvas SignButton(bool plus)
{
  Canvas c(28, 28);
  ButtonFace(c, 0, 0, 28, 28, plus ? Pal::kTeal : Hex(0x8a5a7a));
  c.Rect(7, 10, 14, 4, Pal::kInk);
  c.Rect(8, 11, 12, 2, Pal::kWhite);
  if (plus)
  {
    c.Rect(12, 5, 4, 14, Pal::kInk);
    c.Rect(13, 6, 2, 12, Pal::kWhite);
    c.Rect(8, 11, 12, 2, Pal::kWhite);
  }
  return c;
}

Canvas SliderBar()
{
  Canvas c(140, 13);
  c.RoundRect(0, 0, 140, 13, Pal::kInk);
  c.Rect(1, 1, 138, 11, Hex(0x2b2f45));
  c.Rect(3, 4, 134, 5, Hex(0x1b1e2e));
  // Five notches, one per volume step.
  for (int i = 0; i < 5; ++i)
  {
    int x = 4 + int(i * 32.5f + 0.5f);
    c.Rect(x, 3, 2, 7, Pal::kTealLight);
  }
  c.Rect(3, 9, 134, 1, Hex(0x454b6a));
  return c;
}

Canvas SliderKnob()
{
  Canvas c(14, 28);
  c.RoundRect(0, 0, 14, 28, Pal::kInk);
  c.Rect(1, 1, 12, 26, Shade(Pal::kOrange, -0.35f));
  c.Rect(1, 1, 12, 23, Pal::kOrange);
  c.Rect(2, 1, 10, 1, Shade(Pal::kOrange, 0.4f));
  for (int y : {9, 12, 15})
    c.Rect(4, y, 6, 1, Shade(Pal::kOrange, -0.45f));
  return c;
}

void MonitorGlyph(Canvas& c, int cy, bool full)
{
  c.Rect(10, cy - 9, 24, 17, Pal::kInk);
  c.Rect(11, cy - 8, 22, 15, Pal::kScreen);
  c.Rect(19, cy + 8, 6, 3, Pal::kInk);
  c.Rect(15, cy + 11, 14, 2, Pal::kInk);
  if (full)
  {
    c.Rect(12, cy - 7, 20, 13, Shade(Pal::kGlow, -0.2f));
    c.Pattern(13, cy - 6, {"###", "#..", "#.."}, "#", {Pal::kWhite});
    c.Pattern(28, cy + 2, {"..#", "..#", "###"}, "#", {Pal::kWhite});
  }
  else
  {
    c.Rect(15, cy - 5, 14, 9, Pal::kInk);
    c.Rect(16, cy - 4, 12, 7, Shade(Pal::kGlow, -0.2f));
    c.Rect(16, cy - 4, 12, 2, Pal::kWhite);
  }
}

Canvas OptionLabels()
{
  // Labels beside the full-screen button and the two sliders, at their heights.
  Canvas c(75, 120);
  PixelFont font(Fonts::kSansBold, 11);
  const std::pair<int, const char*> rows[] = {{8, "DISPLAY"}, {68, "EFFECTS"}, {108, "MUSIC"}};
  for (const auto& [y, text] : rows)
  {
    // Right-aligned a little short of the image edge, clear of the minus buttons.
    int w = font.Measure(text) + 8, right = 69;
    c.RoundRect(right - w, y - 7, w, 14, Pal::kInk);
    c.Rect(right + 1 - w, y - 6, w - 2, 12, Hex(0x2b2f45));
    font.DrawCentred(c, right - w / 2, y, text, Pal::kYellow, Pal::kInk);
  }
  return c;
}
} // namespace

int MakeInterface(const std::string& assets)
{
  const std::string a = assets + "/";
  int failures = 0;

  auto keyJ = [](Canvas& c) { KeyCap(c, 13, 13, 11, 'J'); };
  auto keyK = [](Canvas& c) { KeyCap(c, 13, 13, 11, 'K'); };
  auto padX = [](Canvas& c) { PadButton(c, 18.5f, 18.5f, 5.5f, 'X', Pal::kBlue); };
  auto padB = [](Canvas& c) { PadButton(c, 18.5f, 18.5f, 5.5f, 'B', Pal::kRed); };
  failures += Save(HudIcon(DisguiseEmblem, keyJ), 3, a + "iconJ.png");
  failures += Save(HudIcon(DisguiseEmblem, padX), 3, a + "iconJ2.png");
  failures += Save(HudIcon(StealthEmblem, keyK), 3, a + "iconK.png");
  failures += Save(HudIcon(StealthEmblem, padB), 3, a + "iconK2.png");
  failures += Save(KeyIcon(), 3, a + "iconKey.png");

  Canvas e(16, 16);
  KeyCap(e, 1, 1, 14, 'E');
  failures += Save(e, 2, a + "iconE.png");
  Canvas y(16, 16);
  PadButton(y, 8.0f, 7.5f, 6.5f, 'Y', Hex(0xd9a22a));
  failures += Save(y, 2, a + "iconE2.png");

  // In-play buttons, 77 × 37 drawn at twice the size.
  auto pauseGlyph = [](Canvas& c, int cy)
  {
    c.Rect(9, cy - 7, 5, 14, Pal::kInk);
    c.Rect(10, cy - 6, 3, 12, Pal::kWhite);
    c.Rect(16, cy - 7, 5, 14, Pal::kInk);
    c.Rect(17, cy - 6, 3, 12, Pal::kWhite);
  };
  auto keyR = [](Canvas& c, int cy) { KeyCap(c, 6, cy - 8, 16, 'R'); };
  auto padX2 = [](Canvas& c, int cy) { PadButton(c, 14.0f, float(cy), 8.0f, 'X', Pal::kBlue); };
  auto padB2 = [](Canvas& c, int cy) { PadButton(c, 14.0f, float(cy), 8.0f, 'B', Pal::kRed); };
  auto homeGlyph = [](Canvas& c, int cy)
  {
    c.Pattern(6, cy - 8,
              {".......#.......", "......###......", ".....#####.....", "....#######....",
               "...#########...", "..###########..", "...#########...", "...###...###...",
               "...###...###...", "...###...###...", "...#########..."},
              "#", {Pal::kWhite});
  };
  auto playGlyph = [](Canvas& c, int cy)
  {
    for (int i = 0; i < 8; ++i)
      c.Rect(9 + i, cy - 7 + i, 1, 15 - 2 * i, Pal::kWhite);
  };
  failures += Save(TextButton(77, 37, "PAUSE", Pal::kTeal, 12, pauseGlyph), 2, a + "pause.png");
  failures += Save(TextButton(77, 37, "RETRY", Pal::kOrange, 12, keyR), 2, a + "Retry.png");
  failures += Save(TextButton(77, 37, "RETRY", Pal::kOrange, 12, padX2), 2, a + "Retry2.png");
  failures += Save(TextButton(77, 37, "RESUME", Pal::kGreen, 10, playGlyph), 2, a + "Resume.png");
  failures += Save(TextButton(77, 37, "MENU", Hex(0x5a6082), 12, homeGlyph), 2, a + "MainMenu.png");
  failures += Save(TextButton(77, 37, "MENU", Hex(0x5a6082), 12, padB2), 2, a + "MainMenu2.png");
  auto keyN = [](Canvas& c, int cy) { KeyCap(c, 6, cy - 8, 16, 'N'); };
  auto padA2 = [](Canvas& c, int cy) { PadButton(c, 14.0f, float(cy), 8.0f, 'A', Pal::kGreen); };
  failures += Save(TextButton(77, 37, "NEXT", Pal::kTeal, 12, keyN), 2, a + "Next.png");
  failures += Save(TextButton(77, 37, "NEXT", Pal::kTeal, 12, padA2), 2, a + "Next2.png");

  failures += Save(Banner("ESCAPED!", Pal::kGreen, "YOU SLIPPED OUT UNSEEN"), 2, a + "Escaped.png");
  failures += Save(Banner("CAUGHT!", Pal::kRed, "A CO-WORKER SPOTTED YOU"), 2, a + "GameOver.png");
  failures += Save(Banner("PAUSED", Hex(0x5a6082), ""), 2, a + "Paused.png");

  // Main menu buttons (131 × 34), back (131 × 28), level select (98 × 28).
  failures += Save(TextButton(131, 34, "PLAY", Pal::kTeal, 16), 2, a + "b_play.png");
  failures += Save(TextButton(131, 34, "OPTIONS", Pal::kTeal, 16), 2, a + "b_option.png");
  failures += Save(TextButton(131, 34, "CREDITS", Pal::kTeal, 16), 2, a + "b_credit.png");
  failures += Save(TextButton(131, 34, "EXIT", Hex(0xa8483f), 16), 2, a + "b_exit.png");
  failures += Save(TextButton(131, 28, "BACK", Hex(0x5a6082), 14), 2, a + "level_back.png");
  failures += Save(TextButton(98, 28, "TUTORIAL", Pal::kGreen, 12), 2, a + "level_tutorial.png");
  const Color levelColors[5] = {Hex(0x3f8fa3), Hex(0x3a7fb8), Hex(0x5a6ac0), Hex(0x8a5ab0),
                                Hex(0xa8483f)};
  for (int i = 0; i < 5; ++i)
    failures += Save(TextButton(98, 28, "LEVEL " + std::to_string(i + 1), levelColors[i], 12), 2,
                     a + "level_" + std::to_string(i + 1) + ".png");
  failures += Save(TextButton(98, 28, "EDITOR", Hex(0xb07a2a), 12), 2, a + "level_editor.png");

  auto fullGlyph = [](Canvas& c, int cy) { MonitorGlyph(c, cy, true); };
  auto windowGlyph = [](Canvas& c, int cy) { MonitorGlyph(c, cy, false); };
  failures += Save(TextButton(175, 45, "FULL SCREEN", Hex(0x5a6082), 14, fullGlyph), 2,
                   a + "fullscreen.png");
  failures +=
      Save(TextButton(175, 45, "WINDOWED", Hex(0x5a6082), 14, windowGlyph), 2, a + "Windowed.png");
  failures += Save(SignButton(false), 2, a + "minus.png");
  failures += Save(SignButton(true), 2, a + "plus.png");
  failures += Save(SliderBar(), 2, a + "slider.png");
  failures += Save(SliderKnob(), 2, a + "slider2.png");
  failures += Save(OptionLabels(), 2, a + "option2.png");
  return failures;
}
