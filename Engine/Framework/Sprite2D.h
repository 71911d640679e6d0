#pragma once

#include <string>
#include <vector>

#include "Framework/Transform.h"

// A textured or plain quad drawn through the engine. The texture may be a sheet of equal
// frames in columns and rows; frameSize is one frame's extent in texture space (x = u, y = v).
class Sprite2D : public Transform
{
public:
  Sprite2D();
  Sprite2D(int columns, int rows, std::string file, float x, float y);
  virtual ~Sprite2D();

  Sprite2D(const Sprite2D&) = delete;
  Sprite2D& operator=(const Sprite2D&) = delete;

  // Counts down a timed sprite's lifetime.
  virtual void Update(const float& dt);
  virtual void Draw();

  void Init(std::string file, float columns, float rows);
  // Registers file as one of this sprite's textures and makes sure the cache holds it.
  void AddTexture(std::string file);
  // Switches to a registered texture; unregistered files are ignored.
  void SetTexture(std::string file);
  std::string GetName() const;

  // Draws with the given mesh draw mode (VNGfxMeshDrawMode), showing the frame row at v = fv.
  void Draw(int drawMode);
  // Draws the row of the sheet whose v offset is frame × fv.
  void DrawFrame(int frame);
  // Builds the quad once; clear meshBuilt to rebuild it after width, height or frameSize change.
  void CreateMesh();

  VNGfxVertexList* mesh = nullptr;
  VNGfxTexture* texture = nullptr;
  std::vector<std::string> textureFiles;
  float lifetime = 0.0f;
  VNVec2 frameSize = {1.0f, 1.0f};
  VNVec2 offset = {0.0f, 0.0f};
  std::string name;
  std::string textureName;
  bool timed = false;
  bool expired = false;
  bool meshBuilt = false;
  bool hidden = false;
  float width = 1.0f;
  float height = 1.0f;

private:
  void DrawWithOffset(int drawMode, float offsetV);
  // True when the quad lies wholly outside the visible world rectangle.
  bool OutOfView() const;

  // Distance from the mesh's centre to its corners, before scaling.
  float meshReach = 0.0f;
};
