#pragma once

// The dark outline that keeps text readable over any floor, in pixels.
const int kTextOutline = 2;

// Prints text in black at the eight offsets of the outline around (x, y), with the colour
// program; the text itself is printed over it afterwards, in its own colour.
void PrintTextOutline(unsigned font, const char* text, int x, int y);
