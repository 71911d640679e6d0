// AudioFiles: the Vorbis encoder loop (analysis, blocks, Ogg pages) and a plain WAV
// writer.
#include "AudioFiles.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>

namespace
{
bool WritePages(ogg_stream_state& stream, FILE* file, bool flush)
{
  ogg_page page;
  while (flush ? ogg_stream_flush(&stream, &page) : ogg_stream_pageout(&stream, &page))
  {
    if (std::fwrite(page.header, 1, size_t(page.header_len), file) != size_t(page.header_len) ||
        std::fwrite(page.body, 1, size_t(page.body_len), file) != size_t(page.body_len))
      return false;
  }
  return true;
}
} // namespace

bool WriteOgg(const std::string& path, const std::vector<float>& samples, int rate, float quality)
{
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file)
  {
    std::printf("make_sounds: cannot open %s for writing\n", path.c_str());
    return false;
  }
  vorbis_info info;
  vorbis_info_init(&info);
  if (vorbis_encode_init_vbr(&info, 1, rate, quality) != 0)
  {
    std::printf("make_sounds: the Vorbis encoder refuses %d Hz at quality %.2f for %s\n", rate,
                quality, path.c_str());
    vorbis_info_clear(&info);
    std::fclose(file);
    return false;
  }
  vorbis_comment comment;
  vorbis_comment_init(&comment);
  vorbis_comment_add_tag(&comment, "ENCODER", "Kestrin make_sounds");
  vorbis_dsp_state dsp;
  vorbis_block block;
  vorbis_analysis_init(&dsp, &info);
  vorbis_block_init(&dsp, &block);
  ogg_stream_state stream;
  ogg_stream_init(&stream, 0x4b455354); // a fixed serial keeps the files reproducible

  ogg_packet header, headerComment, headerCode;
  vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
  ogg_stream_packetin(&stream, &header);
  ogg_stream_packetin(&stream, &headerComment);
  ogg_stream_packetin(&stream, &headerCode);
  bool ok = WritePages(stream, file, true);

  const size_t chunk = 4096;
  size_t done = 0;
  bool ended = false;
  while (ok && !ended)
  {
    size_t n = std::min(chunk, samples.size() - done);
    if (n == 0)
    {
      vorbis_analysis_wrote(&dsp, 0);
      ended = true;
    }
    else
    {
      float** buffer = vorbis_analysis_buffer(&dsp, int(n));
      std::copy(samples.begin() + long(done), samples.begin() + long(done + n), buffer[0]);
      vorbis_analysis_wrote(&dsp, int(n));
      done += n;
    }
    while (ok && vorbis_analysis_blockout(&dsp, &block) == 1)
    {
      vorbis_analysis(&block, nullptr);
      vorbis_bitrate_addblock(&block);
      ogg_packet packet;
      while (ok && vorbis_bitrate_flushpacket(&dsp, &packet))
      {
        ogg_stream_packetin(&stream, &packet);
        ok = WritePages(stream, file, false);
      }
    }
  }
  ok = ok && WritePages(stream, file, true);

  ogg_stream_clear(&stream);
  vorbis_block_clear(&block);
  vorbis_dsp_clear(&dsp);
  vorbis_comment_clear(&comment);
  vorbis_info_clear(&info);
  if (std::fclose(file) != 0)
    ok = false;
  if (!ok)
    std::printf("make_sounds: writing %s failed\n", path.c_str());
  return ok;
}

bool WriteWav(const std::string& path, const std::vector<float>& samples, int rate)
{
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file)
  {
    std::printf("make_sounds: cannot open %s for writing\n", path.c_str());
    return false;
  }
  auto u32 = [file](uint32_t v)
  {
    uint8_t b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
    std::fwrite(b, 1, 4, file);
  };
  auto u16 = [file](uint16_t v)
  {
    uint8_t b[2] = {uint8_t(v), uint8_t(v >> 8)};
    std::fwrite(b, 1, 2, file);
  };
  const uint32_t dataBytes = uint32_t(samples.size() * 2);
  std::fwrite("RIFF", 1, 4, file);
  u32(36 + dataBytes);
  std::fwrite("WAVEfmt ", 1, 8, file);
  u32(16);
  u16(1);
  u16(1);
  u32(uint32_t(rate));
  u32(uint32_t(rate * 2));
  u16(2);
  u16(16);
  std::fwrite("data", 1, 4, file);
  u32(dataBytes);
  for (float s : samples)
    u16(uint16_t(int16_t(std::clamp(s, -1.0f, 1.0f) * 32767.0f)));
  bool ok = !std::ferror(file);
  if (std::fclose(file) != 0)
    ok = false;
  if (!ok)
    std::printf("make_sounds: writing %s failed\n", path.c_str());
  return ok;
}
