#pragma once

#include <map>
#include <string>

class Level;

// Owns every level by name and runs the current one.
class LevelManager
{
public:
  static LevelManager* Instance();
  // Deletes every level in name order without unloading it, then the manager.
  static void Destroy();

  // Takes ownership of level. A name already registered prints "Level Exist" and the
  // newcomer is deleted.
  void AddLevel(Level* level);
  // Switches at once: change sound, old level unloaded, camera and overlay reset, new
  // level loaded. An unknown name leaves no level current.
  void ChangeLevel(const std::string& name);
  // How the game enters its first level: the registered level becomes current and loads,
  // without the change sound and without resetting the camera. An unknown name leaves the
  // current level as it is.
  void EnterDirectly(const std::string& name);
  // Camera, current level, then sound; nothing while no level is current.
  void Update(const float& dt);

  std::map<std::string, Level*> levels;
  Level* current = nullptr;

private:
  LevelManager();
  ~LevelManager();

  static LevelManager* instance;
};
