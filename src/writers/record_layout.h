// Fixed-length records as data: every field of a download file is a name, a
// first column (1-based, as the file descriptions count) and a width. Writers
// place texts through these definitions, so a column number is written in
// exactly one place per file type.
#pragma once

#include <cstddef>

struct RecordField {
    const char *name; // field name as the inspector shows it
    size_t column;    // first column, 1-based
    size_t width;     // number of columns
};

struct RecordLayout {
    const char *fileType;      // "MGDNL31P", ...
    size_t length;             // record length in characters
    const RecordField *fields; // every field, in column order
    size_t fieldCount;
};

// Sets all `length` characters of the record to blanks. The record has no
// terminating zero inside it.
void FillRecord(char *record, size_t length);

// Places the characters of `text` left-aligned into the field, without a
// terminating zero; positions the text does not cover keep what they held.
// Returns the number of characters that did not fit (0: placed whole).
size_t PlaceField(char *record, const RecordField &field, const char *text);

// Places a YYYYMMDD date; a field left all blanks (an empty date) becomes
// "00000000".
void PlaceDateField(char *record, const RecordField &field, const char *date);

// Sets the field's columns to blanks.
void BlankField(char *record, const RecordField &field);
