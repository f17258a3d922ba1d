// Label decoding of arbitrary texts: the result is never longer than 12
// characters and is decoded in place without writing past the text.
#include "lookup/label_text.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::vector<char> text(data, data + size);
    text.push_back('\0');
    size_t before = std::strlen(text.data());
    DecodeLabelText(text.data());
    size_t after = std::strlen(text.data());
    if (after > 12 || after > before) {
        std::abort();
    }
    char label[kLabelWidth + 1];
    FormatLabel(label, text.data());
    if (std::strlen(label) != kLabelWidth) {
        std::abort();
    }
    return 0;
}
