#include "writers/reader_fields.h"

#include "writers/layouts.h"

#include <cstring>

namespace {

constexpr char kUnmarkedSlot[kReaderSlotWidth] = {' ', ' ', '\0'};

} // namespace

void ClearReaderSlots(BadgeRecord *badge, int readers) {
    for (int n = 1; n <= readers && n <= kReaderSlots; ++n) {
        std::memcpy(badge->ReaderSlots[n - 1], kUnmarkedSlot, kReaderSlotWidth);
    }
}

int ReaderMarked(const BadgeRecord *badge, int n) {
    if (n < 1 || n > kReaderSlots) {
        return 0;
    }
    return std::memcmp(badge->ReaderSlots[n - 1], kUnmarkedSlot, kReaderSlotWidth) != 0 ? 1 : 0;
}

void PlaceReaderNumbers(char *record, const BadgeRecord *badge, int readers) {
    for (int n = 1; n <= readers; ++n) {
        if (ReaderMarked(badge, n)) {
            PlaceField(record, ReaderNumberField(n), badge->ReaderSlots[n - 1]);
        }
    }
}

void PlaceReaderClasses(char *record, const BadgeRecord *badge, int readers,
                        const char *bookingClass) {
    for (int n = 1; n <= readers; ++n) {
        if (ReaderMarked(badge, n)) {
            PlaceField(record, ReaderClassField(n), bookingClass);
        }
    }
}
