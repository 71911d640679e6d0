#include <GL/gl.h>
#include <gtest/gtest.h>

#include "Framework/Sprite2D.h"
#include "Framework/TextureManager.h"
#include "TestWindow.h"

namespace
{
// The cache loads any path: a file that cannot be read still gives a texture.
const char* const kRed = "Assets/test-red.png";
const char* const kBlue = "Assets/test-blue.png";

class TextureManagerTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    EnsureTestWindow();
    TextureManager::Destroy();
    cache = TextureManager::Instance();
  }
  void TearDown() override { TextureManager::Destroy(); }

  int Count(const char* file)
  {
    TextureEntry* entry = cache->Find(file);
    return entry ? entry->refCount : -1;
  }

  TextureManager* cache = nullptr;
};
} // namespace

TEST_F(TextureManagerTest, LoadCachesOnceAndDestroyFreesWhateverTheCounts)
{
  EXPECT_TRUE(cache->Load(kRed));
  VNGfxTexture* red = cache->Find(kRed)->texture;
  ASSERT_NE(nullptr, red);
  EXPECT_TRUE(cache->Load(kRed));
  EXPECT_EQ(1u, cache->textures.size());
  EXPECT_EQ(red, cache->Find(kRed)->texture);
  EXPECT_EQ(0, Count(kRed));

  cache->Acquire(kBlue);
  cache->Acquire(kBlue);
  const GLuint names[] = {*red->name, *cache->Find(kBlue)->texture->name};
  TextureManager::Destroy();
  for (GLuint name : names)
    EXPECT_FALSE(glIsTexture(name)) << "texture " << name << " outlived the cache";
}

TEST_F(TextureManagerTest, ReleaseDecrementsAndKeepsTheTextureCached)
{
  VNGfxTexture* texture = cache->Acquire(kRed);
  const GLuint name = *texture->name;
  cache->Acquire(kRed);
  EXPECT_EQ(2, Count(kRed));

  EXPECT_TRUE(cache->Release(texture));
  EXPECT_EQ(1, Count(kRed));
  EXPECT_TRUE(cache->Release(texture));
  EXPECT_EQ(0, Count(kRed));
  EXPECT_TRUE(glIsTexture(name)) << "an unheld texture stays for the next level";
  EXPECT_EQ(texture, cache->Acquire(kRed));

  // Neither a texture the cache does not hold nor null is released.
  VNGfxTexture* stranger = VNGfxTextureLoad(kBlue);
  EXPECT_FALSE(cache->Release(stranger));
  EXPECT_FALSE(cache->Release(nullptr));
  VNGfxTextureUnload(stranger);
}

TEST_F(TextureManagerTest, SpritesHoldOneReferenceForTheTextureTheyShow)
{
  Sprite2D* a = new Sprite2D();
  a->AddTexture(kRed);
  a->AddTexture(kBlue);
  EXPECT_EQ(0, Count(kRed));

  a->SetTexture(kRed);
  a->SetTexture(kRed);
  EXPECT_EQ(1, Count(kRed));

  Sprite2D* b = new Sprite2D(1, 1, kRed, 0.0f, 0.0f);
  EXPECT_EQ(2, Count(kRed));
  EXPECT_EQ(a->texture, b->texture);

  // Switching gives the previous reference back; the texture b still shows stays.
  a->SetTexture(kBlue);
  EXPECT_EQ(1, Count(kRed));
  EXPECT_EQ(1, Count(kBlue));
  EXPECT_EQ(b->texture, cache->Find(kRed)->texture);

  // Once nobody shows it, it stays cached unheld, and switching back takes it again.
  delete b;
  EXPECT_EQ(0, Count(kRed));
  a->SetTexture(kRed);
  EXPECT_EQ(1, Count(kRed));
  EXPECT_EQ(cache->Find(kRed)->texture, a->texture);
  EXPECT_EQ(0, Count(kBlue));

  // A file never registered with AddTexture changes nothing.
  a->SetTexture("Assets/never-added.png");
  EXPECT_EQ(kRed, a->textureName);
  EXPECT_EQ(1, Count(kRed));

  delete a;
  EXPECT_EQ(0, Count(kRed));
}
