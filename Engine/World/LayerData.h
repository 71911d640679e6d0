#pragma once

#include <stddef.h>

#include <string>
#include <vector>

// Layer data stored as text in a level file's <data> element, as Tiled writes it.

// Reads comma-separated gids (Tiled's "csv" encoding) into cells from the first one on.
// Tiled's flip and rotation flags (the top four bits) are dropped; values beyond the
// cells are only counted. `count` gets the number of values. False, with `error` saying
// where, for text that is not a list of numbers.
bool DecodeCsvLayer(const char* text, std::vector<int>& cells, size_t& count, std::string& error);
// Describes an encoding and compression pair the reader does not read ("base64 with
// zlib compression"), or "" for the ones it does: none (tile elements) and csv.
std::string UnreadEncoding(const char* encoding, const char* compression);
