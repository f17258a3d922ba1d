#include "writers/record_layout.h"

#include <cstring>

void FillRecord(char *record, size_t length) {
    std::memset(record, ' ', length);
}

size_t PlaceField(char *record, const RecordField &field, const char *text) {
    size_t length = std::strlen(text);
    size_t placed = length < field.width ? length : field.width;
    std::memcpy(record + field.column - 1, text, placed);
    return length - placed;
}

void PlaceDateField(char *record, const RecordField &field, const char *date) {
    PlaceField(record, field, date);
    char *columns = record + field.column - 1;
    for (size_t i = 0; i < field.width; ++i) {
        if (columns[i] != ' ') {
            return;
        }
    }
    std::memset(columns, '0', field.width);
}

void BlankField(char *record, const RecordField &field) {
    std::memset(record + field.column - 1, ' ', field.width);
}
