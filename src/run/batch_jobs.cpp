#include "run/batch_jobs.h"

namespace {

constexpr size_t kJobFieldCount = 4;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Reads the quoted field that starts at line[*pos] (the opening quote) into
// field. Returns an empty text or the reason it is malformed.
std::string ReadQuotedField(std::string_view line, size_t *pos, std::string *field) {
    size_t i = *pos + 1;
    while (true) {
        if (i >= line.size()) {
            return "a quoted field is not closed";
        }
        if (line[i] != '"') {
            field->push_back(line[i++]);
            continue;
        }
        if (i + 1 < line.size() && line[i + 1] == '"') {
            field->push_back('"');
            i += 2;
            continue;
        }
        ++i;
        break;
    }
    if (i < line.size() && !IsBlank(line[i])) {
        return "text right after a closing quote (separate the fields by blanks)";
    }
    *pos = i;
    return "";
}

std::string ReadPlainField(std::string_view line, size_t *pos, std::string *field) {
    size_t i = *pos;
    while (i < line.size() && !IsBlank(line[i])) {
        if (line[i] == '"') {
            return "a double quote inside a field (quote the whole field)";
        }
        field->push_back(line[i++]);
    }
    *pos = i;
    return "";
}

bool IsSkipped(std::string_view line) {
    size_t first = line.find_first_not_of(" \t");
    return first == std::string_view::npos || line[first] == '#';
}

} // namespace

std::string SplitJobLine(std::string_view line, std::vector<std::string> *fields) {
    fields->clear();
    // A command line cannot carry a NUL byte, so the field would be cut.
    if (line.find('\0') != std::string_view::npos) {
        return "a NUL byte";
    }
    size_t pos = 0;
    while (true) {
        while (pos < line.size() && IsBlank(line[pos])) {
            ++pos;
        }
        if (pos >= line.size()) {
            return "";
        }
        fields->emplace_back();
        std::string reason = line[pos] == '"' ? ReadQuotedField(line, &pos, &fields->back())
                                              : ReadPlainField(line, &pos, &fields->back());
        if (!reason.empty()) {
            return reason;
        }
    }
}

bool ParseJobText(std::string_view text, std::vector<BatchJob> *jobs,
                  std::vector<JobFileError> *errors) {
    jobs->clear();
    errors->clear();
    std::vector<std::string> fields;
    int lineNumber = 0;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (IsSkipped(line)) {
            continue;
        }
        std::string reason = SplitJobLine(line, &fields);
        if (reason.empty() && fields.size() != kJobFieldCount) {
            reason = std::to_string(fields.size()) + (fields.size() == 1 ? " field" : " fields") +
                     ", expected 4: FUNCTION TERMINAL PATH MODE";
        }
        if (reason.empty() && fields[2].empty()) {
            reason = "the path is empty";
        }
        if (!reason.empty()) {
            errors->push_back({lineNumber, reason});
            continue;
        }
        jobs->push_back({lineNumber, fields[0], fields[1], fields[2], fields[3]});
    }
    return errors->empty();
}
