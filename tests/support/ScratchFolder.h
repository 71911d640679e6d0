// A private scratch folder for a test, and whole-file reads and writes.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

// A fresh folder under the system's temporary folder, removed with everything in it.
class ScratchFolder
{
public:
  ScratchFolder()
  {
    std::string pattern = (std::filesystem::temp_directory_path() / "kestrin-XXXXXX").string();
    if (mkdtemp(&pattern[0]))
      path = pattern;
    EXPECT_FALSE(path.empty()) << "cannot make a scratch folder";
  }
  ~ScratchFolder()
  {
    // A test may have taken the write permission away to make a save fail.
    std::error_code ignored;
    std::filesystem::permissions(path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  std::string File(const std::string& name) const { return path + "/" + name; }

  std::string path;
};

inline void WriteText(const std::string& file, const std::string& text)
{
  std::ofstream out(file, std::ios::binary);
  out << text;
  ASSERT_TRUE(out.good()) << "cannot write " << file;
}

inline std::string ReadText(const std::string& file)
{
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
