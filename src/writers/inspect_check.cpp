#include "writers/inspect.h"

#include <cctype>

namespace {

bool AllDigits(const std::string &text) {
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            return false;
        }
    }
    return true;
}

bool AllBlanks(const std::string &text) {
    return text.find_first_not_of(' ') == std::string::npos;
}

// The field name without its number: "Reader03" gives "Reader".
std::string BaseName(const std::string &name) {
    size_t end = name.find_last_not_of("0123456789");
    return name.substr(0, end + 1);
}

// The field's number, 0 without one.
int FieldNumber(const std::string &name) {
    size_t end = name.find_last_not_of("0123456789");
    return end + 1 < name.size() ? std::stoi(name.substr(end + 1)) : 0;
}

std::string Problem(size_t record, const std::string &field, const std::string &what) {
    std::string text = "record " + std::to_string(record);
    if (!field.empty()) {
        text += ", field " + field;
    }
    return text + ": " + what;
}

// The rules every field of its kind keeps, whatever the file type.
void CheckField(const FileType &type, size_t record, const std::string &name,
                const std::string &value, const DecodedRecord &fields,
                std::vector<std::string> *problems) {
    const bool fixed = type.recordLength != 0;
    std::string base = BaseName(name);
    if (base == "AswGvo" || base == "AswGbi") {
        if (!(value.size() == 8 && AllDigits(value)) && !(!fixed && value.empty())) {
            problems->push_back(Problem(record, name, "date \"" + value + "\" is not 8 digits"));
        }
    } else if (base == "TimeAuthFlag" || base == "AccessFlag") {
        if (value != "0" && value != "1") {
            problems->push_back(Problem(record, name, "flag \"" + value + "\" is not 0 or 1"));
        }
    } else if (base == "FixedCode" && value != "001") {
        problems->push_back(Problem(record, name, "\"" + value + "\" is not 001"));
    } else if (base == "Constant" && value != "XXXX,XX-") {
        problems->push_back(Problem(record, name, "\"" + value + "\" is not XXXX,XX-"));
    } else if (base == "Reader") {
        char expected[16];
        std::snprintf(expected, sizeof expected, "%02d", FieldNumber(name));
        if (value != expected && !AllBlanks(value)) {
            problems->push_back(
                Problem(record, name,
                        "\"" + value + "\" is neither blank nor the reader number " + expected));
        }
    } else if (base == "ReaderClass") {
        // A booking class stands only behind a reader number.
        for (size_t i = 0; i < type.fields.size(); ++i) {
            char reader[16];
            std::snprintf(reader, sizeof reader, "Reader%02d", FieldNumber(name));
            if (type.fields[i].name == reader && AllBlanks(fields[i]) && !AllBlanks(value)) {
                problems->push_back(
                    Problem(record, name, "booking class \"" + value + "\" without reader number"));
            }
        }
    } else if (name == "AswNum2" && value != fields[0]) {
        problems->push_back(Problem(record, name, "differs from the badge number of field 1"));
    }
}

void CheckFixedLength(const FileType &type, const std::string &content,
                      std::vector<std::string> *problems) {
    for (size_t i = 0; i < content.size(); ++i) {
        char c = content[i];
        if (c == '\r' || c == '\n' || c == '\0') {
            problems->push_back(Problem(i / type.recordLength + 1, "",
                                        std::string(c == '\0' ? "zero byte" : "line break") +
                                            " at column " +
                                            std::to_string(i % type.recordLength + 1)));
        }
    }
    // Columns that belong to no field are always blank.
    std::vector<bool> covered(type.recordLength, false);
    for (const NamedField &named : type.fields) {
        for (size_t c = 0; c < named.field.width; ++c) {
            covered[named.field.column - 1 + c] = true;
        }
    }
    for (size_t i = 0; i < content.size(); ++i) {
        size_t column = i % type.recordLength;
        if (!covered[column] && content[i] != ' ' && content[i] != '\r' && content[i] != '\n' &&
            content[i] != '\0') {
            problems->push_back(Problem(i / type.recordLength + 1, "",
                                        "column " + std::to_string(column + 1) + " is not blank"));
        }
    }
    size_t rest = content.size() % type.recordLength;
    if (rest != 0) {
        problems->push_back(Problem(content.size() / type.recordLength + 1, "",
                                    "only " + std::to_string(rest) + " of " +
                                        std::to_string(type.recordLength) + " characters"));
    }
}

void CheckLines(const FileType &type, const std::string &content,
                std::vector<std::string> *problems) {
    size_t record = 1;
    size_t start = 0;
    while (start < content.size()) {
        size_t end = content.find('\n', start);
        if (end == std::string::npos || end == start || content[end - 1] != '\r') {
            problems->push_back(Problem(record, "", "line does not end with CR LF"));
        }
        size_t stop = end == std::string::npos ? content.size() : end;
        if (stop > start && content[stop - 1] == '\r') {
            --stop;
        }
        std::vector<std::string> fields;
        if (!SplitQuotedLine(content.substr(start, stop - start), &fields)) {
            problems->push_back(Problem(record, "", "not a line of quoted fields"));
        } else if (fields.size() != type.fields.size()) {
            problems->push_back(Problem(record, "",
                                        std::to_string(fields.size()) + " fields instead of " +
                                            std::to_string(type.fields.size())));
        }
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
        ++record;
    }
}

} // namespace

std::vector<std::string> CheckFile(const FileType &type, const std::string &content) {
    std::vector<std::string> problems;
    if (type.recordLength != 0) {
        CheckFixedLength(type, content, &problems);
    } else {
        CheckLines(type, content, &problems);
    }
    std::vector<DecodedRecord> records = DecodeFile(type, content);
    for (size_t r = 0; r < records.size(); ++r) {
        if (type.recordLength != 0 && (r + 1) * type.recordLength > content.size()) {
            break; // the incomplete record is reported above
        }
        for (size_t f = 0; f < type.fields.size(); ++f) {
            CheckField(type, r + 1, type.fields[f].name, records[r][f], records[r], &problems);
        }
    }
    return problems;
}
