#pragma once

#include <errno.h>
#include <limits.h>
#include <stdlib.h>

#include <tinyxml2.h>

// Reads an int the way "%d" does: white space skipped, the longest integer prefix
// taken. False when the text is null, does not start with a number, or the number
// does not fit an int.
inline bool ParseIntText(const char* text, int& value)
{
  if (!text)
    return false;
  errno = 0;
  char* end = nullptr;
  long parsed = strtol(text, &end, 10);
  if (end == text || errno == ERANGE || parsed < INT_MIN || parsed > INT_MAX)
    return false;
  value = static_cast<int>(parsed);
  return true;
}

// An int attribute of an element, or fallback when it is absent or not a number.
inline int IntAttribute(const tinyxml2::XMLElement* element, const char* name, int fallback)
{
  int value = fallback;
  return ParseIntText(element->Attribute(name), value) ? value : fallback;
}
