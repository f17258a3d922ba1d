#include "writers/inspect.h"

#include <algorithm>

namespace {

// Windows-1252 to UTF-8 for JSON; the few code points 0x80 to 0x9F that
// Windows-1252 assigns differently from Latin-1 are mapped as Windows does.
std::string ToUtf8(const std::string &text) {
    static const unsigned short kHigh[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    std::string out;
    for (unsigned char c : text) {
        unsigned code = c >= 0x80 && c < 0xA0 ? kHigh[c - 0x80] : c;
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return out;
}

std::string JsonString(const std::string &text) {
    std::string out = "\"";
    for (unsigned char c : ToUtf8(text)) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

std::string CsvField(const std::string &text) {
    if (text.find_first_of("\",\r\n") == std::string::npos) {
        return text;
    }
    std::string out = "\"";
    for (char c : text) {
        out += c == '"' ? std::string("\"\"") : std::string(1, c);
    }
    return out + "\"";
}

void PrintTable(const FileType &type, const std::vector<DecodedRecord> &records, std::FILE *out) {
    // Values are shown between | so that blanks stay visible.
    std::vector<size_t> widths;
    for (size_t f = 0; f < type.fields.size(); ++f) {
        size_t width = type.fields[f].name.size();
        for (const DecodedRecord &record : records) {
            width = std::max(width, record[f].size() + 2);
        }
        widths.push_back(width);
    }
    std::fprintf(out, "%-6s", "Nr");
    for (size_t f = 0; f < type.fields.size(); ++f) {
        std::fprintf(out, " %-*s", static_cast<int>(widths[f]), type.fields[f].name.c_str());
    }
    std::fputc('\n', out);
    for (size_t r = 0; r < records.size(); ++r) {
        std::fprintf(out, "%-6zu", r + 1);
        for (size_t f = 0; f < type.fields.size(); ++f) {
            std::string shown = "|" + records[r][f] + "|";
            std::fprintf(out, " %-*s", static_cast<int>(widths[f]), shown.c_str());
        }
        std::fputc('\n', out);
    }
}

} // namespace

void PrintRecords(const FileType &type, const std::vector<DecodedRecord> &records,
                  OutputFormat format, std::FILE *out) {
    if (format == OUTPUT_TABLE) {
        PrintTable(type, records, out);
        return;
    }
    if (format == OUTPUT_CSV) {
        for (size_t f = 0; f < type.fields.size(); ++f) {
            std::fprintf(out, "%s%s", f == 0 ? "" : ",", type.fields[f].name.c_str());
        }
        std::fputs("\r\n", out);
        for (const DecodedRecord &record : records) {
            for (size_t f = 0; f < record.size(); ++f) {
                std::fprintf(out, "%s%s", f == 0 ? "" : ",", CsvField(record[f]).c_str());
            }
            std::fputs("\r\n", out);
        }
        return;
    }
    std::fprintf(out, "{\"type\": \"%s\", \"records\": [", type.name.c_str());
    for (size_t r = 0; r < records.size(); ++r) {
        std::fprintf(out, "%s\n  {", r == 0 ? "" : ",");
        for (size_t f = 0; f < type.fields.size(); ++f) {
            std::fprintf(out, "%s\"%s\": %s", f == 0 ? "" : ", ", type.fields[f].name.c_str(),
                         JsonString(records[r][f]).c_str());
        }
        std::fputc('}', out);
    }
    std::fputs(records.empty() ? "]}\n" : "\n]}\n", out);
}
