// Fuzzes the asset manifest reader under the address and undefined-behaviour sanitizers.
#include <stdint.h>

#include "World/AssetManifest.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  AssetManifest manifest;
  ParseAssetManifest(reinterpret_cast<const char*>(data), size, "fuzz.tsm", manifest);
  return 0;
}
