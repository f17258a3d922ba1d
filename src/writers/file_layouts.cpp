#include "writers/file_layouts.h"

#include "writers/layouts.h"

#include <cctype>
#include <cstdio>
#include <map>

namespace {

// Numbers repeated field names in order of appearance ("Reader" becomes
// "Reader01", "Reader02", ...), so that a reader field keeps its number.
std::vector<NamedField> NameFields(const RecordField *fields, size_t count) {
    std::map<std::string, int> total;
    for (size_t i = 0; i < count; ++i) {
        ++total[fields[i].name];
    }
    std::map<std::string, int> seen;
    std::vector<NamedField> named;
    for (size_t i = 0; i < count; ++i) {
        std::string name = fields[i].name;
        if (total[name] > 1) {
            char number[16];
            std::snprintf(number, sizeof number, "%02d", ++seen[name]);
            name += number;
        }
        named.push_back({name, fields[i]});
    }
    return named;
}

template <size_t N> std::vector<NamedField> NameFields(const RecordField (&fields)[N]) {
    return NameFields(fields, N);
}

std::vector<FileType> BuildFileTypes() {
    std::vector<RecordField> display = {Mgdnl18p::kBadgeNumber};
    for (int n = 1; n <= Mgdnl18p::kSlots; ++n) {
        display.push_back(Mgdnl18p::LabelField(n));
        display.push_back(Mgdnl18p::ValueField(n));
    }
    std::vector<NamedField> displayFields = NameFields(display.data(), display.size());
    for (NamedField &field : displayFields) {
        // Slots count from 1 to 8: "Label01" reads better as "Label1".
        if (field.name.size() > 2 && field.name[field.name.size() - 2] == '0') {
            field.name.erase(field.name.size() - 2, 1);
        }
    }
    std::vector<NamedField> masterFields;
    for (const char *name : Idstamm::kFieldNames) {
        masterFields.push_back({name, {name, 0, 0}});
    }
    // The badge number stands twice in a line; the second is field 12.
    masterFields[11].name = "AswNum2";
    return {
        {"MGDNL17P", Mgdnl17p::kLength, NameFields(Mgdnl17p::kFields)},
        {"MGDNL18P", Mgdnl18p::kLength, displayFields},
        {"MGDNL31P", Mgdnl31p::kLength, NameFields(Mgdnl31p::kFields)},
        {"MGDNL60P", Mgdnl60p::kLength, NameFields(Mgdnl60p::kFields)},
        {"IDSTAMM", 0, masterFields},
    };
}

std::string UpperCase(std::string text) {
    for (char &c : text) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return text;
}

} // namespace

const std::vector<FileType> &FileTypes() {
    static const std::vector<FileType> types = BuildFileTypes();
    return types;
}

const FileType *FindFileType(const std::string &name) {
    std::string wanted = UpperCase(name);
    for (const FileType &type : FileTypes()) {
        if (type.name == wanted) {
            return &type;
        }
    }
    return nullptr;
}

const FileType *FileTypeFromName(const std::string &path) {
    std::string base = UpperCase(path.substr(path.find_last_of('/') + 1));
    for (const FileType &type : FileTypes()) {
        if (base.find(type.name) != std::string::npos) {
            return &type;
        }
    }
    return nullptr;
}

const FileType *FileTypeFromContent(const std::string &content) {
    if (!content.empty() && content[0] == '"' && content.find("\r\n") != std::string::npos) {
        return FindFileType("IDSTAMM");
    }
    const FileType *found = nullptr;
    for (const FileType &type : FileTypes()) {
        if (type.recordLength == 0 || content.empty() || content.size() % type.recordLength != 0) {
            continue;
        }
        if (found != nullptr) {
            return nullptr;
        }
        found = &type;
    }
    return found;
}
