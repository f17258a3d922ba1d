#include "common/refusal.h"

#include <cstdio>

void ReportRefusedBadge(const char *badgeNumber, const char *field, size_t length, size_t limit) {
    std::printf("Ausweis %s nicht in Datei gestellt: %s zu lang (%zu Zeichen, hoechstens %zu)\n",
                badgeNumber, field, length, limit);
}

void ReportRefusedAccessItem(const char *badgeNumber, const char *bookingClass, const char *field,
                             size_t length, size_t limit) {
    std::printf("Ausweis %s: Buchungsklasse %s nicht in Datei gestellt: %s zu lang (%zu Zeichen, "
                "hoechstens %zu)\n",
                badgeNumber, bookingClass, field, length, limit);
}
