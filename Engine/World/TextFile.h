#pragma once

#include <stddef.h>

#include <string>

// Whole-file reads with a size cap, and whole-file replacement that never leaves a
// half-written file behind. On failure `error` says what went wrong, in a few words.

// Reads a regular file of at most maxBytes into text; anything else (a FIFO, a device,
// a folder) is refused without waiting on it.
bool ReadTextFile(const std::string& fileName, size_t maxBytes, std::string& text,
                  std::string& error);
// Writes text to a temporary file in fileName's folder, syncs it and renames it over
// fileName; a symbolic link is followed, so the file it points to is replaced and the
// link stays. An existing fileName that is not a regular file (folder, FIFO, device) is
// refused. On any failure the temporary file is removed and fileName is untouched.
bool ReplaceTextFile(const std::string& fileName, const std::string& text, std::string& error);
