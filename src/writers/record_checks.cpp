#include "writers/record_checks.h"

#include "common/refusal.h"

#include <cstring>

int BadgeNumberFits(const BadgeRecord *badge, const RecordField &field) {
    size_t length = std::strlen(badge->AswNum);
    if (length <= field.width) {
        return 1;
    }
    ReportRefusedBadge(badge->AswNum, "AswNum", length, field.width);
    return 0;
}

int BookingClassFits(const BadgeRecord *badge, const AccessItem *item, const RecordField &field) {
    size_t length = std::strlen(item->M35BKL);
    if (length <= field.width) {
        return 1;
    }
    ReportRefusedAccessItem(badge->AswNum, item->M35BKL, "M35BKL", length, field.width);
    return 0;
}
