// The label texts of the display definitions: choice-list labels carry the
// letter n with tilde as the entity "&#241;", and every label is shown as 12
// characters and one blank.
#pragma once

#include <cstddef>

// Width of a label text, and of the label field with its trailing blank.
constexpr size_t kLabelTextWidth = 12;
constexpr size_t kLabelWidth = kLabelTextWidth + 1;

// Replaces the first "&#241;" of the text by the byte 0xF1, then cuts the
// text to 12 characters, in place. A further "&#241;" stays as it is.
void DecodeLabelText(char *text);

// "%-12s " into a label of kLabelWidth + 1 bytes: the first 12 characters of
// the text, padded with blanks to 12, then one blank.
void FormatLabel(char *label, const char *text);
