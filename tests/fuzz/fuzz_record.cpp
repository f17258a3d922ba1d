// The record placement and padding helpers with arbitrary texts and fields:
// nothing is ever written outside the record or the target buffer.
#include "common/padding.h"
#include "common/text.h"
#include "writers/record_layout.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 3) {
        return 0;
    }
    size_t recordLength = 1 + data[0] % 200;
    size_t column = 1 + data[1] % recordLength;
    size_t width = 1 + data[2] % (recordLength - column + 1);
    std::vector<char> text(data + 3, data + size);
    text.push_back('\0');

    std::vector<char> record(recordLength);
    FillRecord(record.data(), recordLength);
    RecordField field = {"Fuzz", column, width};
    size_t left = PlaceField(record.data(), field, text.data());
    size_t textLength = std::strlen(text.data());
    if (left != (textLength > width ? textLength - width : 0)) {
        std::abort();
    }
    PlaceDateField(record.data(), field, text.data());
    BlankField(record.data(), field);

    // Padded copies into buffers of exactly the capacity they are given.
    size_t capacity = data[0] % 64;
    std::vector<char> target(capacity == 0 ? 1 : capacity);
    PadLeftWithZeros(target.data(), capacity, text.data(), width);
    PadRightWithBlanks(target.data(), capacity, text.data(), width);
    CopyText(target.data(), capacity, text.data());
    TrimRight(text.data());
    TrimLeft(text.data());
    UpperCaseInPlace(text.data());
    ParseLeadingDecimal(text.data());
    return 0;
}
