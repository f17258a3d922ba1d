#include "writers/inspect.h"

namespace {

// The lines of an IDSTAMM file without their CR LF (or a lone LF).
std::vector<std::string> SplitLines(const std::string &content) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < content.size()) {
        size_t end = content.find('\n', start);
        if (end == std::string::npos) {
            lines.push_back(content.substr(start));
            break;
        }
        size_t stop = end > start && content[end - 1] == '\r' ? end - 1 : end;
        lines.push_back(content.substr(start, stop - start));
        start = end + 1;
    }
    return lines;
}

} // namespace

bool SplitQuotedLine(const std::string &line, std::vector<std::string> *fields) {
    fields->clear();
    size_t position = 0;
    while (true) {
        if (position >= line.size() || line[position] != '"') {
            return false;
        }
        size_t close = line.find('"', position + 1);
        if (close == std::string::npos) {
            fields->push_back(line.substr(position + 1));
            return false;
        }
        fields->push_back(line.substr(position + 1, close - position - 1));
        position = close + 1;
        if (position == line.size()) {
            return true;
        }
        if (line[position] != ',') {
            return false;
        }
        ++position;
    }
}

std::vector<DecodedRecord> DecodeFile(const FileType &type, const std::string &content) {
    std::vector<DecodedRecord> records;
    if (type.recordLength == 0) {
        for (const std::string &line : SplitLines(content)) {
            DecodedRecord fields;
            SplitQuotedLine(line, &fields);
            fields.resize(type.fields.size());
            records.push_back(fields);
        }
        return records;
    }
    for (size_t start = 0; start < content.size(); start += type.recordLength) {
        std::string record = content.substr(start, type.recordLength);
        DecodedRecord fields;
        for (const NamedField &named : type.fields) {
            size_t column = named.field.column - 1;
            fields.push_back(column < record.size() ? record.substr(column, named.field.width)
                                                    : std::string());
        }
        records.push_back(fields);
    }
    return records;
}
