// preluxa-inspect: shows what a download file tells a terminal, field by
// field, and checks that the file is well-formed before it is sent.
#pragma once

#include "writers/file_layouts.h"

#include <cstdio>
#include <string>
#include <vector>

// One record (fixed-length) or line (IDSTAMM), split into the type's fields.
typedef std::vector<std::string> DecodedRecord;

// Splits a file into records; an incomplete last fixed-length record or an
// IDSTAMM line with another number of fields is decoded as far as it goes.
std::vector<DecodedRecord> DecodeFile(const FileType &type, const std::string &content);

// Splits one IDSTAMM line (without its line end) into its quoted fields.
// Returns false when the line is not a run of "..." fields separated by
// commas; `fields` then holds what could be read.
bool SplitQuotedLine(const std::string &line, std::vector<std::string> *fields);

// Every problem of the file, one text each: "record 3, field AswGvo: ...".
std::vector<std::string> CheckFile(const FileType &type, const std::string &content);

enum OutputFormat { OUTPUT_TABLE, OUTPUT_CSV, OUTPUT_JSON };

// Prints the decoded records with one named column per field. Table and CSV
// keep the file's Windows-1252 bytes; JSON is converted to UTF-8.
void PrintRecords(const FileType &type, const std::vector<DecodedRecord> &records,
                  OutputFormat format, std::FILE *out);

// The command line: preluxa-inspect FILE [TYPE] [--csv|--json] [--check].
// Returns 0, 1 when --check found problems, 2 for usage or read errors.
int RunInspector(int argc, const char *const *argv, std::FILE *out, std::FILE *err);
