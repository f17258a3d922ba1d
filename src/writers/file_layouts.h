// The download file types as the tools that read the files see them: every
// field with a unique name, taken from the writers' own layouts so that
// writer and reader cannot disagree.
#pragma once

#include "writers/record_layout.h"

#include <cstddef>
#include <string>
#include <vector>

struct NamedField {
    std::string name;  // unique within the type, e.g. "Reader03", "Label5"
    RecordField field; // columns of a fixed-length record; unused for IDSTAMM
};

struct FileType {
    std::string name;               // "MGDNL17P", ..., "IDSTAMM"
    size_t recordLength;            // 0 for IDSTAMM, whose lines vary in length
    std::vector<NamedField> fields; // in file order
};

// The five file types.
const std::vector<FileType> &FileTypes();

// The type of that name (letter case ignored), or null.
const FileType *FindFileType(const std::string &name);

// The type a file name mentions (".../T1.MGDNL31P"), or null.
const FileType *FileTypeFromName(const std::string &path);

// The type whose records the content fits: IDSTAMM for quoted lines,
// otherwise the one fixed record length that divides the size; null when
// none or more than one fits.
const FileType *FileTypeFromContent(const std::string &content);
