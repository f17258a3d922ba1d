#include "lookup/time_accounts.h"

#include "common/text.h"
#include "db/db.h"
#include "lookup/one_shot_cursor.h"
#include "lookup/statements.h"

#include <array>
#include <cstring>

namespace {

constexpr int kFirstBalanceColumn = 2;      // TswW02
constexpr int kLastBalanceColumn = 16;      // TswW16
constexpr int kFirstFreeTextRowColumn = 31; // row position of TswF01
constexpr size_t kBalanceValueWidth = 6;
constexpr size_t kFreeTextLength = kFreeTextWidth - 1;

// Row position of the sign of TswW<number>; its value follows it. Position 0
// is TswW01, which is not used.
int SignRowColumn(int number) {
    return 2 * number - 3;
}

// The text that follows the value: TswW02 shows a plus as a blank, the other
// balances leave a "#" out; any other sign is shown as it is.
const char *SignText(int number, const char *sign) {
    if (number == kFirstBalanceColumn && std::strcmp(sign, "+") == 0) {
        return " ";
    }
    if (number != kFirstBalanceColumn && std::strcmp(sign, "#") == 0) {
        return "";
    }
    return sign;
}

// "%6.6s%s" of the left-trimmed value and the sign text, bounded by the slot.
// The statement delivers a sign of one character; anything longer would not
// fit behind the six value characters and is cut, as balances are only
// displayed.
void PutBalance(char *slot, const char *value, const char *signText) {
    const char *trimmed = TrimLeft(value);
    size_t valueLength = std::strlen(trimmed);
    if (valueLength > kBalanceValueWidth) {
        valueLength = kBalanceValueWidth;
    }
    size_t fill = kBalanceValueWidth - valueLength;
    std::memset(slot, ' ', fill);
    std::memcpy(slot + fill, trimmed, valueLength);
    size_t room = kTimeAccountSlotWidth - 1 - kBalanceValueWidth;
    size_t signLength = std::strlen(signText);
    if (signLength > room) {
        signLength = room;
    }
    std::memcpy(slot + kBalanceValueWidth, signText, signLength);
    slot[kBalanceValueWidth + signLength] = '\0';
}

// "%-20s" of the untrimmed text; a longer text is cut to the field, as free
// texts are only displayed.
void PutFreeText(char *field, const char *text) {
    size_t length = std::strlen(text);
    if (length > kFreeTextLength) {
        length = kFreeTextLength;
    }
    std::memcpy(field, text, length);
    std::memset(field + length, ' ', kFreeTextLength - length);
    field[kFreeTextLength] = '\0';
}

// Slot of TswW<number> for the numbers 0 to 16, -1 for one without a slot;
// looked up for every balance of every badge.
constexpr std::array<int, kLastBalanceColumn + 1> kSlotOfColumn = [] {
    std::array<int, kLastBalanceColumn + 1> slots{};
    slots.fill(-1);
    for (int slot = 0; slot < kTimeAccountSlots; ++slot) {
        slots[kTimeAccountColumns[slot]] = slot;
    }
    return slots;
}();

// Position of TswW<number> in the record's slot order, or -1.
int SlotIndex(int number) {
    if (number < 0 || number > kLastBalanceColumn) {
        return -1;
    }
    return kSlotOfColumn[number];
}

void FillFromRow(BadgeRecord *badge) {
    for (int number = kFirstBalanceColumn; number <= kLastBalanceColumn; ++number) {
        const char *sign = CurrentRow[SignRowColumn(number)];
        const char *value = CurrentRow[SignRowColumn(number) + 1];
        int slot = SlotIndex(number);
        if (sign != nullptr && value != nullptr && slot >= 0) {
            PutBalance(badge->TimeAccounts[slot], value, SignText(number, sign));
        }
    }
    for (int i = 0; i < kFreeTexts; ++i) {
        const char *text = CurrentRow[kFirstFreeTextRowColumn + i];
        if (text != nullptr) {
            PutFreeText(badge->FreeTexts[i], text);
        }
    }
}

} // namespace

int LoadTimeAccounts(BadgeRecord *badge) {
    if (RunStatement(&OneShotCursor, kTimeAccountStatement, {badge->AswNum}) != 0) {
        return DbStatus;
    }
    DbStatus = DbFetch(&OneShotCursor, &CurrentRow);
    int status = DbStatus;
    if (status == 0) {
        FillFromRow(badge);
    }
    DbFree(&OneShotCursor);
    return status;
}

const char *TimeAccountSlot(const BadgeRecord *badge, int number) {
    int slot = SlotIndex(number);
    return slot < 0 ? nullptr : badge->TimeAccounts[slot];
}

const char *FreeTextField(const BadgeRecord *badge, int number) {
    if (number < 1 || number > kFreeTexts) {
        return nullptr;
    }
    return badge->FreeTexts[number - 1];
}
