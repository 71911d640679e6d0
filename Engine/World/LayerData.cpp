/*
 * LayerData: the text encodings of a level file's layer data.
 */
#include "World/LayerData.h"

#include <ctype.h>
#include <string.h>

namespace
{
// Tiled keeps a cell's flips and rotation in the top four bits of its gid.
const unsigned long kGidMask = 0x0FFFFFFFul;
} // namespace

bool DecodeCsvLayer(const char* text, std::vector<int>& cells, size_t& count, std::string& error)
{
  count = 0;
  const char* at = text ? text : "";
  while (true)
  {
    while (isspace(static_cast<unsigned char>(*at)))
      ++at;
    if (*at == '\0')
      return true;
    if (!isdigit(static_cast<unsigned char>(*at)))
    {
      error = "value " + std::to_string(count + 1) + " is not a tile id";
      return false;
    }
    unsigned long gid = 0;
    while (isdigit(static_cast<unsigned char>(*at)))
    {
      // Only the low 32 bits exist in a gid; more digits are an error, not a wrap.
      gid = gid * 10 + static_cast<unsigned long>(*at - '0');
      if (gid > 0xFFFFFFFFul)
      {
        error = "value " + std::to_string(count + 1) + " is too large";
        return false;
      }
      ++at;
    }
    if (count < cells.size())
      cells[count] = static_cast<int>(gid & kGidMask);
    ++count;
    while (isspace(static_cast<unsigned char>(*at)))
      ++at;
    if (*at == ',')
      ++at;
    else if (*at != '\0')
    {
      error = "value " + std::to_string(count) + " is followed by neither a comma nor the end";
      return false;
    }
  }
}

std::string UnreadEncoding(const char* encoding, const char* compression)
{
  if (!encoding && !compression)
    return "";
  if (encoding && strcmp(encoding, "csv") == 0 && !compression)
    return "";
  std::string described = encoding ? encoding : "tile elements";
  if (compression)
    described += std::string(" with ") + compression + " compression";
  return described;
}
