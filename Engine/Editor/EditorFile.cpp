/*
 * The editor's file operations: the save and open dialogs, reading a level file into
 * the edited grid, and the tileset that lets Tiled open a saved file. The dialogs block
 * the frame loop until they close.
 */
#include "Editor/Editor.h"

#include <stdio.h>

#include "Editor/MapCheck.h"
#include "World/Grid2D.h"
#include "World/LevelFile.h"
#include "World/TiledTileset.h"

namespace
{

// Description and pattern pairs, the list ending in an empty description.
const char kLevelFileFilters[] = "Supported Files (*.tmx)\0*.tmx\0"
                                 " XML files (*.xml)\0*.xml\0"
                                 " All Files\0*.*\0";
const char* const kDefaultExtension = "txt";
const char* const kManifestFile = "Assets/Assets.tsm";
// A map with fewer layers than this gets an event layer so markers can be painted.
const size_t kEditorLayerCount = 3;

// Asks for a file name; false when the dialog was cancelled or refused the choice.
bool ChooseFile(int mode, const char* title, char (&file)[VN_FILE_DIALOG_BUFFER_SIZE])
{
  VNFileDialogRequest request = {};
  request.mode = mode;
  request.title = title;
  request.filters = kLevelFileFilters;
  request.defaultExtension = kDefaultExtension;
  request.fileMustExist = 1;
  request.confirmOverwrite = 1;
  VNSysMoveWindowToTopLeft();
  return VNSysFileDialog(&request, file, sizeof(file)) != 0;
}

void Print(const char* line)
{
  printf("%s\n", line);
  fflush(stdout);
}

} // namespace

void Editor::SaveLevel()
{
  history.End();
  char file[VN_FILE_DIALOG_BUFFER_SIZE] = {};
  // The write goes through a temporary file, so a failed save leaves the old file whole.
  if (!ChooseFile(VN_FILE_DIALOG_SAVE, "Save File", file) || !tilemap->SaveTMX(file))
  {
    Print("Failed to save file");
    Show("Failed to save file");
    return;
  }
  // Refreshed at every save, so the file opens in Tiled wherever it was saved.
  WriteTiledTilesetBeside(file, kManifestFile);

  const std::vector<std::string> problems = FindMapProblems(*tilemap);
  if (problems.empty())
    return;
  for (size_t i = 1; i < problems.size(); ++i)
    printf("Level Editor: also %s\n", problems[i].c_str());
  Say("Saved, but it cannot be played yet: " + problems.front());
}

void Editor::OpenLevel()
{
  char file[VN_FILE_DIALOG_BUFFER_SIZE] = {};
  if (!ChooseFile(VN_FILE_DIALOG_OPEN, "Open File", file))
  {
    Print("Failed to Load file");
    return;
  }
  LoadLevel(file);
}

void Editor::LoadLevel(std::string fileName)
{
  // Checked first so that a file the grid cannot take leaves the edited map alone.
  LevelContent check;
  Grid2D* loaded = ReadLevelFile(fileName, check) ? new Grid2D(fileName) : nullptr;
  // A grid read from a usable file always has cells; none means the file changed since.
  if (!loaded || loaded->width <= 0)
  {
    delete loaded;
    printf("Failed to load Level %s\n", fileName.c_str());
    fflush(stdout);
    Show("Failed to load Level " + fileName + ": " + LevelFileLastReport());
    return;
  }

  history.End();
  loaded->walkableLimit = tilemap->walkableLimit;
  // The history keeps the previous grid: undo brings it back whole.
  history.GridReplaced(tilemap);
  tilemap = loaded;
  tilemap->SetTextures(tileTextures);
  if (tilemap->layerNames.size() < kEditorLayerCount)
  {
    tilemap->color[0] = tilemap->color[1] = tilemap->color[2] = tilemap->color[3] = 1.0f;
    tilemap->AddLayer("EVENTS");
  }
  UpdateLabels();
}
