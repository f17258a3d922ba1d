// Padded copies of texts into fixed buffers, the "%0<w>s" and "%-<w>s"
// conversions of this system's record formats. A text longer than the width
// is kept whole, never cut.
#pragma once

#include <cstddef>

// Length of a text after padding to `width`: the larger of the two.
size_t PaddedLength(const char *source, size_t width);

// "%0<width>s": the text right-aligned in `width` characters, padded on the
// left with '0'. Returns 1, or 0 when the result does not fit `capacity`
// bytes with its terminator; the target then holds an empty text.
int PadLeftWithZeros(char *target, size_t capacity, const char *source, size_t width);

// "%-<width>s": the text left-aligned, padded on the right with blanks to
// `width` characters. Returns 1, or 0 as above.
int PadRightWithBlanks(char *target, size_t capacity, const char *source, size_t width);
