#include "Framework/LevelManager.h"

#include <stdio.h>

#include "Framework/Camera.h"
#include "Framework/Level.h"
#include "Framework/SoundManager.h"
#include "World/Grid2D.h"

namespace
{
const char* const kChangeSound = "Assets/Sound/GameIn.ogg";
}

LevelManager* LevelManager::instance = nullptr;

LevelManager* LevelManager::Instance()
{
  if (!instance)
    instance = new LevelManager();
  return instance;
}

void LevelManager::Destroy()
{
  delete instance;
  instance = nullptr;
}

LevelManager::LevelManager()
{
  SoundManager::Instance();
}

LevelManager::~LevelManager()
{
  for (auto& [levelName, level] : levels)
    delete level;
  levels.clear();
  current = nullptr;
}

void LevelManager::AddLevel(Level* level)
{
  if (!level)
    return;
  if (levels.find(level->name) != levels.end())
  {
    printf("Level Exist\n");
    delete level;
    return;
  }
  level->active = false;
  levels[level->name] = level;
}

void LevelManager::EnterDirectly(const std::string& name)
{
  auto found = levels.find(name);
  if (found == levels.end())
    return;
  current = found->second;
  current->active = true;
  current->Load();
}

void LevelManager::ChangeLevel(const std::string& name)
{
  SoundManager::Instance()->Play(kChangeSound, false);

  if (current)
  {
    current->active = false;
    current->Unload();
  }

  Camera* camera = Camera::Instance();
  camera->followMode = false;
  camera->followTarget = nullptr;
  camera->position = {0.0f, 0.0f};
  // Published now so that the new level's first frame is drawn from where it starts.
  VNGfxSetCamPosition(0.0f, 0.0f);
  camera->ClearOverlay();

  auto it = levels.find(name);
  if (it == levels.end())
  {
    current = nullptr;
    return;
  }
  current = it->second;
  current->active = true;
  current->Load();
  // What the last level freed is not needed for this one.
  VNSysReturnFreedMemory();
}

void LevelManager::Update(const float& dt)
{
  if (!current)
    return;

  Camera* camera = current->camera;
  if (camera)
  {
    if (const Grid2D* grid = current->tilemap)
    {
      camera->tileSize = {grid->tileWidth, grid->tileHeight};
      camera->boundsMin = {0.0f, 0.0f};
      camera->boundsMax = {grid->width * grid->tileWidth, grid->height * grid->tileHeight};
    }
    camera->Update(dt);
  }

  // The level may change the current level inside its update; the sound step still runs.
  current->Update(dt);
  SoundManager::Instance()->Update(dt);
}
