#include "Framework/Sprite2D.h"

#include <math.h>
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>

#include "Framework/Assert.h"
#include "Framework/TextureManager.h"

Sprite2D::Sprite2D()
{
  scale = {1.0f, 1.0f};
}

Sprite2D::Sprite2D(int columns, int rows, std::string file, float x, float y) : Sprite2D()
{
  Init(file, static_cast<float>(columns), static_cast<float>(rows));
  position = {x, y};
}

Sprite2D::~Sprite2D()
{
  if (mesh)
    VNGfxMeshFree(mesh);
  if (texture)
    TextureManager::Instance()->Release(texture);
}

void Sprite2D::Init(std::string file, float columns, float rows)
{
  frameSize = {1.0f / columns, 1.0f / rows};
  AddTexture(file);
  SetTexture(file);
}

void Sprite2D::AddTexture(std::string file)
{
  if (std::find(textureFiles.begin(), textureFiles.end(), file) == textureFiles.end())
    textureFiles.push_back(file);
  TextureManager::Instance()->Load(file);
}

void Sprite2D::SetTexture(std::string file)
{
  if (file == textureName)
    return;
  if (std::find(textureFiles.begin(), textureFiles.end(), file) == textureFiles.end())
    return;

  // Take the new reference before giving back the old one, and reload the file if the
  // cache dropped it while this sprite was showing another texture.
  VNGfxTexture* previous = texture;
  textureName = file;
  texture = TextureManager::Instance()->Acquire(file);
  if (previous)
    TextureManager::Instance()->Release(previous);
}

std::string Sprite2D::GetName() const
{
  return name;
}

void Sprite2D::Update(const float& dt)
{
  if (!timed || expired)
    return;
  lifetime -= dt;
  if (lifetime <= 0.0f)
    expired = true;
}

void Sprite2D::Draw()
{
  Draw(VN_GFX_MESH_TRIANGLES);
}

void Sprite2D::Draw(int drawMode)
{
  DrawWithOffset(drawMode, frameSize.y);
}

void Sprite2D::DrawFrame(int frame)
{
  DrawWithOffset(VN_GFX_MESH_TRIANGLES, static_cast<float>(frame) * frameSize.y);
}

void Sprite2D::CreateMesh()
{
  if (meshBuilt)
    return;
  if (mesh)
    VNGfxMeshFree(mesh);

  const float hw = width * 0.5f;
  const float hh = height * 0.5f;
  const float fu = frameSize.x;
  const float fv = frameSize.y;
  const unsigned int white = 0xFFFFFFFF;

  // u runs from 0 on the left to -fu on the right: with the u offset of fu applied when
  // drawing and the default rotation of 180 degrees the picture shows upright, unmirrored.
  VNGfxMeshStart();
  VNGfxTriAdd(-hw, -hh, white, 0.0f, 0.0f, -hw, hh, white, 0.0f, fv, hw, hh, white, -fu, fv);
  VNGfxTriAdd(hw, hh, white, -fu, fv, hw, -hh, white, -fu, 0.0f, -hw, -hh, white, 0.0f, 0.0f);
  VNGfxVertexList* vertices = VNGfxMeshEnd();
  VN_ASSERT_MESG(vertices, "Failed to Create Sprite2D");
  mesh = vertices;
  meshBuilt = true;
  meshReach = sqrtf(hw * hw + hh * hh);
}

bool Sprite2D::OutOfView() const
{
  // The quad's corners, however turned and scaled, stay within this distance of its
  // centre; the margin keeps lines drawn along a quad's edge.
  const float kMargin = 2.0f;
  const float reach = meshReach * fmaxf(fabsf(scale.x), fabsf(scale.y)) + kMargin;
  const float x = position.x + offset.x;
  const float y = position.y + offset.y;
  return x + reach < gVNWinMinX || x - reach > gVNWinMaxX || y + reach < gVNWinMinY ||
         y - reach > gVNWinMaxY;
}

void Sprite2D::DrawWithOffset(int drawMode, float offsetV)
{
  if (hidden)
    return;
  CreateMesh();
  if (!mesh)
    return;

  VNGfxSetBlendMode(VN_GFX_BLEND_BLEND);
  if (texture)
  {
    VNGfxSetRenderMode(VN_GFX_RENDER_TEXTURE);
    VNGfxTextureSet(texture, frameSize.x, offsetV);
  }
  else
  {
    VNGfxSetRenderMode(VN_GFX_RENDER_COLOR);
    VNGfxTextureSet(nullptr, 0.0f, 0.0f);
  }

  // Blending is on, so a fully transparent sprite leaves every pixel as it was; nor is
  // anything drawn for a sprite wholly outside the visible world rectangle.
  if (tint.a <= 0.0f || OutOfView())
    return;

  VNMtx33 translation, rotationMatrix, scaling, world;
  VNMtx33Trans(&translation, position.x + offset.x, position.y + offset.y);
  VNMtx33RotDeg(&rotationMatrix, rotation);
  VNMtx33Scale(&scaling, scale.x, scale.y);
  VNMtx33Concat(&world, &translation, &rotationMatrix);
  VNMtx33Concat(&world, &world, &scaling);
  VNGfxSetTransform(&world);

  VNGfxSetTransparency(tint.a);
  VNGfxSetTintColor(tint.r, tint.g, tint.b, tint.a);
  VNGfxMeshDraw(mesh, drawMode);
}
