#include "writers/idstamm.h"

#include "common/run_state.h"
#include "db/db.h"
#include "lookup/access.h"
#include "writers/authorisation.h"
#include "writers/badge_walk.h"
#include "writers/layouts.h"

#include <cstdio>
#include <cstring>

namespace {

using Idstamm::kFieldCount;
using Idstamm::kFieldNames;

// Every field is bounded by its BadgeRecord or TerminalRecord field, so a line
// always fits; it is written whole even beyond 255 characters.
constexpr size_t kLineCapacity = 1024;

// Lines of one badge that are kept from the check to the write.
constexpr size_t kBufferedLines = 8;

bool IsSafeField(const char *text) {
    return std::strpbrk(text, "\"\r\n") == nullptr;
}

bool AppendBytes(char *line, size_t capacity, size_t *used, const char *bytes, size_t length) {
    if (length >= capacity - *used) {
        return false;
    }
    std::memcpy(line + *used, bytes, length);
    *used += length;
    line[*used] = '\0';
    return true;
}

// The display set of field 8: the badge's own, else the terminal's, carried
// whole (a terminal code may be longer than the badge's field).
const char *DisplaySetOf(const BadgeRecord *badge, const TerminalRecord *terminal) {
    return badge->AswSal[0] != '\0' ? badge->AswSal : terminal->TRMSAL;
}

BadgeOutcome HandleBadge(BadgeRecord *badge, const TerminalRecord *terminal, void *) {
    const char *displaySet = DisplaySetOf(badge, terminal);
    Authorisation authorisation;
    BadgeOutcome outcome = LoadAuthorisation(badge, terminal, 32, 0, &authorisation);
    if (outcome != BADGE_WRITTEN) {
        return outcome;
    }
    std::memcpy(badge->TimeAuthFlag, authorisation.time ? "1" : "0", 2);
    std::memcpy(badge->AccessFlag, authorisation.access ? "1" : "0", 2);
    std::memcpy(badge->FixedCode, "001", 4);
    if (std::strcmp(badge->AwvSto + 3, "00000") == 0) {
        badge->AwvSto[3] = '\0';
    }

    // A field with a quote or a line break would corrupt the file: the badge
    // is left out whole, before any of its lines is written. The lines are
    // built into `lines` as they are checked and written from there, each
    // built once; only a badge with more lines than it holds has them built
    // again for writing.
    char lines[kBufferedLines * kLineCapacity];
    size_t buffered = 0;
    bool allBuffered = true;
    char line[kLineCapacity];
    const char *badField = nullptr;
    int lineCount = badge->AccessFlag[0] == '1' ? BadgeAccess.count : 1;
    for (int i = 0; i < lineCount && badField == nullptr; ++i) {
        const char *bookingClass =
            badge->AccessFlag[0] == '1' ? BadgeAccess.items[i].M35BKL : badge->AswBkl;
        if (allBuffered && sizeof lines - buffered >= kLineCapacity) {
            buffered += FormatIDSTAMMLine(badge, displaySet, bookingClass, lines + buffered,
                                          kLineCapacity, &badField);
        } else {
            allBuffered = false;
            FormatIDSTAMMLine(badge, displaySet, bookingClass, line, sizeof line, &badField);
        }
    }
    if (badField != nullptr) {
        std::printf("Ausweis %s nicht in Datei gestellt: %s enthaelt Anfuehrungszeichen oder "
                    "Zeilenumbruch\n",
                    badge->AswNum, badField);
        return BADGE_SKIPPED;
    }
    if (allBuffered) {
        std::fwrite(lines, 1, buffered, DownloadFile);
        return BADGE_WRITTEN;
    }
    for (int i = 0; i < lineCount; ++i) {
        const char *bookingClass =
            badge->AccessFlag[0] == '1' ? BadgeAccess.items[i].M35BKL : badge->AswBkl;
        size_t length =
            FormatIDSTAMMLine(badge, displaySet, bookingClass, line, sizeof line, &badField);
        std::fwrite(line, 1, length, DownloadFile);
    }
    return BADGE_WRITTEN;
}

} // namespace

size_t FormatIDSTAMMLine(const BadgeRecord *badge, const char *displaySet, const char *bookingClass,
                         char *line, size_t capacity, const char **badField) {
    const char *personnelTail = std::strlen(badge->AswPnr) > 9 ? badge->AswPnr + 9 : "";
    const char *fields[kFieldCount] = {
        badge->AswNum,     badge->AswGvo, badge->AswGbi, badge->AwvSto + 3, badge->TimeAuthFlag,
        badge->AccessFlag, badge->AswSpr, displaySet,    badge->FixedCode,  bookingClass,
        personnelTail,     badge->AswNum, badge->AswAtp, badge->AswPin};
    size_t used = 0;
    line[0] = '\0';
    for (int i = 0; i < kFieldCount; ++i) {
        if (!IsSafeField(fields[i])) {
            *badField = kFieldNames[i];
            return 0;
        }
        const char *separator = i == 0 ? "\"" : "\",\"";
        if (!AppendBytes(line, capacity, &used, separator, std::strlen(separator)) ||
            !AppendBytes(line, capacity, &used, fields[i], std::strlen(fields[i]))) {
            *badField = kFieldNames[i];
            return 0;
        }
    }
    if (!AppendBytes(line, capacity, &used, "\"\r\n", 3)) {
        *badField = kFieldNames[kFieldCount - 1];
        return 0;
    }
    return used;
}

int WriteIDSTAMM(const char *, TerminalRecord *terminal) {
    return WalkSucceeded(WalkBadges(terminal, HandleBadge, nullptr));
}
