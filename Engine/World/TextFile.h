#pragma once

#include <stddef.h>

#include <string>

// Whole-file reads with a size cap, and whole-file replacement that never leaves a
// half-written file behind. On failure `error` says what went wrong, in a few words.

// Reads a regular file of at most maxBytes into text.
bool ReadTextFile(const std::string& fileName, size_t maxBytes, std::string& text,
                  std::string& error);
// Writes text to a temporary file in fileName's folder, syncs it and renames it over
// fileName. On any failure the temporary file is removed and fileName is untouched.
bool ReplaceTextFile(const std::string& fileName, const std::string& text, std::string& error);
