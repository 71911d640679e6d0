/*
 * The editor's overlay: the tile palette, the file buttons and the labels (layer, grid
 * size, layer view, cell under the cursor, messages, help).
 */
#include "Editor/Editor.h"

#include <stdio.h>

#include "Framework/Button2D.h"
#include "Framework/Camera.h"
#include "Framework/TextLabel.h"
#include "World/Grid2D.h"

namespace
{

// Palette: three columns of 50-unit buttons on a 55-unit pitch, right of the map.
const int kPaletteColumns = 3;
const float kPaletteLeft = 475.0f;
const float kPalettePitch = 55.0f;
const float kPaletteButtonSize = 50.0f;

const char* const kHelpLines[] = {
    "LEFT          paint",
    "RIGHT         erase",
    "SHIFT + drag  fill a rectangle",
    "F             fill the area",
    "CTRL+Z        undo",
    "CTRL+Y        redo (or CTRL+SHIFT+Z)",
    "1 2 3         show / hide a layer",
    "WHEEL         zoom",
    "SPACE + drag  scroll",
    "TAB           show / hide the palette",
    "F8            test run, F8 to come back",
    "ESC           main menu",
    "F1 or ?       this help",
};

void PlaceButton(Button2D* button, float x, float y, float width, float height)
{
  // The labels are placed for the size the button has before it is resized.
  button->SetPosition(x, y);
  button->width = width;
  button->height = height;
}

} // namespace

std::string Editor::TileName(const std::string& imagePath)
{
  const size_t slash = imagePath.find_last_of("/\\");
  std::string name = slash == std::string::npos ? imagePath : imagePath.substr(slash + 1);
  const size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0)
    name.erase(dot);
  for (char& c : name)
  {
    if (c == '_')
      c = ' ';
  }
  return name;
}

void Editor::BuildPalette()
{
  palette.clear();
  if (tileTextures.empty())
    return;

  // Rows go upwards from a base that keeps the palette roughly centred on the screen.
  const float base = -27.5f * static_cast<float>(paletteCount / kPaletteColumns - 1);
  int column = 0;
  int row = 1;
  // Straight from the manifest's entries: ids are sparse and may be as large as an int.
  for (const auto& [id, texture] : tileTextures)
  {
    if (id < 0 || !texture)
      continue;
    auto button = std::make_unique<Button2D>(std::to_string(id), texture->path);
    button->tooltip->SetText(TileName(texture->path) + "  id " + std::to_string(id));
    PlaceButton(button.get(), camera->position.x + kPaletteLeft + kPalettePitch * column,
                camera->position.y + base + kPalettePitch * row, kPaletteButtonSize,
                kPaletteButtonSize);
    palette[id] = camera->AddButton(std::move(button));

    if (column < kPaletteColumns - 1)
    {
      ++column;
    }
    else
    {
      column = 0;
      ++row;
    }
  }
}

void Editor::TogglePalette()
{
  paletteHidden = !paletteHidden;
  for (auto& [id, button] : palette)
    button->hidden = paletteHidden;
}

void Editor::AddFileButtons()
{
  const Color4 black = {0.0f, 0.0f, 0.0f, 1.0f};
  auto save = std::make_unique<Button2D>("Savelevel");
  PlaceButton(save.get(), camera->position.x + 530.0f, camera->position.y - 250.0f, 180.0f, 50.0f);
  save->textColor = black;
  saveButton = camera->AddButton(std::move(save));

  auto load = std::make_unique<Button2D>("Loadlevel");
  PlaceButton(load.get(), camera->position.x + 530.0f, camera->position.y - 310.0f, 180.0f, 50.0f);
  load->textColor = black;
  loadButton = camera->AddButton(std::move(load));
}

void Editor::AddLabels()
{
  const float x = camera->position.x - 620.0f;
  const float y = camera->position.y;
  layerLabel = camera->AddText("", x, y + 330.0f);
  camera->AddText("GRID SIZE", x, y + 300.0f);
  sizeLabelX = camera->AddText("", x, y + 280.0f);
  sizeLabelY = camera->AddText("", x, y + 260.0f);
  viewLabel = camera->AddText("", x, y + 230.0f);
  cellLabel = camera->AddText("", x, y + 200.0f);
  messageLabel = camera->AddText("", x + 10.0f, y - 345.0f);
  helpLabels.clear();
  for (size_t i = 0; i < sizeof(kHelpLines) / sizeof(kHelpLines[0]); ++i)
    helpLabels.push_back(
        camera->AddText("", x + 30.0f, y + 150.0f - 30.0f * static_cast<float>(i)));
  if (!helpPanel)
    helpPanel = BuildCentredQuad(360.0f, 205.0f);
  if (!messagePanel)
    messagePanel = BuildCentredQuad(430.0f, 17.0f);
  UpdateLabels();
}

void Editor::UpdateLabels()
{
  gridSize = {static_cast<float>(tilemap->width), static_cast<float>(tilemap->height)};
  if (!layerLabel)
    return;
  layerLabel->SetText(tilemap->GetLayerName(currentLayer));
  char text[64];
  snprintf(text, sizeof(text), "X : %d", tilemap->width);
  sizeLabelX->SetText(text);
  snprintf(text, sizeof(text), "Y : %d", tilemap->height);
  sizeLabelY->SetText(text);

  std::string view = "SHOW";
  for (int layer = 0; layer < kLayerCount; ++layer)
    view += layerShown[layer] ? " " + std::to_string(layer + 1) : std::string(" -");
  viewLabel->SetText(view);

  const int cell = tilemap->hoveredCell;
  if (cell >= 0 && tilemap->width > 0)
    snprintf(text, sizeof(text), "X %d  Y %d", cell % tilemap->width,
             tilemap->height - 1 - cell / tilemap->width);
  else
    text[0] = '\0';
  cellLabel->SetText(text);

  messageLabel->SetText(messageTime > 0.0f ? message : "");
  for (size_t i = 0; i < helpLabels.size(); ++i)
    helpLabels[i]->SetText(helpShown ? kHelpLines[i] : "");
}
