#include "writers/mgdnl18p.h"

#include "common/refusal.h"
#include "common/run_state.h"
#include "common/text.h"
#include "lookup/access.h"
#include "lookup/time_accounts.h"
#include "writers/badge_walk.h"
#include "writers/record_layout.h"

#include <cstdio>
#include <cstring>
#include <ctime>

namespace {

using namespace Mgdnl18p;

constexpr char kModelWithOwnSets[] = "7744-010";   // shows a badge's own display set
constexpr char kModelWithFourSlots[] = "7598-002"; // shows slots 1 to 4 only
constexpr int kShownSlotsOfFourSlotModel = 4;
constexpr int kFirstShiftableSlot = 5; // MsdSpl 2 shifts the labels of slots 5 to 8
constexpr int kShiftedLabel = 2;

// Value codes "#W<n>": the date, the time-account slots, the free texts.
constexpr char kDateCode[] = "#W1";
constexpr int kFirstTimeAccountCode = 2;
constexpr int kLastTimeAccountCode = 16;
constexpr int kFirstFreeTextCode = 21;
constexpr int kLastFreeTextCode = 30;
constexpr char kNoValue[] = "       ";

// Only free texts are longer; they cover the whole slot.
constexpr size_t kLongestSlotValue = 10;

constexpr size_t kDateLength = 8;

enum DefinitionList { TERMINAL_DEFINITIONS, BADGE_DEFINITIONS };

struct Mgdnl18pRun {
    MessageTable terminalTable;                    // loaded once from the terminal's set
    char terminalLabels[kLength];                  // blank record with terminalTable's labels
    bool ownSets;                                  // the model shows a badge's own display set
    bool fourSlots;                                // the model shows slots 1 to 4 only
    char today[kDateLength + 1];                   // local date of the start, "%d.%m.%y"
    char lastWritten[sizeof(BadgeRecord::AswNum)]; // AswNum of the record written last
};

bool FormatToday(char *today, size_t capacity) {
    std::time_t now = std::time(nullptr);
    std::tm local;
    if (now == static_cast<std::time_t>(-1) || localtime_r(&now, &local) == nullptr) {
        return false;
    }
    return std::strftime(today, capacity, "%d.%m.%y", &local) == kDateLength;
}

// Loads a definitions list into a zero-filled table, each definition into the
// slot of its MsdLfd (a later one with the same number replaces the earlier).
void LoadMessageTable(MessageTable *table, DefinitionList list, const char *key) {
    const bool terminalList = list == TERMINAL_DEFINITIONS;
    std::memset(table, 0, sizeof *table);
    MessageEntry entry = {};
    int status = terminalList ? OpenTerminalMessages(key) : OpenBadgeMessages(key);
    while (status == 0) {
        status = terminalList ? FetchTerminalMessage(&entry) : FetchBadgeMessage(&entry);
        if (status != 0) {
            break;
        }
        if (entry.MsdLfd < 1 || entry.MsdLfd > kSlots) {
            if (VerboseMode) {
                std::printf("Anzeigedefinition mit laufender Nummer %d ignoriert: nur 1 bis 8 "
                            "moeglich\n",
                            static_cast<int>(entry.MsdLfd));
            }
            continue;
        }
        table->Slot[entry.MsdLfd - 1] = entry;
        if (VerboseMode && terminalList) {
            std::printf("Wert: %s  Txt: %s  Con: %s !\n", entry.Wert, entry.Txt, entry.Con);
        }
    }
    if (terminalList) {
        CloseTerminalMessages();
    } else {
        CloseBadgeMessages();
    }
}

void PlaceLabels(char *record, const MessageTable &table) {
    for (int n = 1; n <= kSlots; ++n) {
        const MessageEntry &entry = table.Slot[n - 1];
        BlankField(record, LabelField(n));
        if (n >= kFirstShiftableSlot && entry.MsdSpl == kShiftedLabel) {
            // The label's trailing blank does not fit the shifted field.
            PlaceField(record, ShiftedLabelField(n), entry.Txt);
        } else {
            PlaceField(record, LabelField(n), entry.Txt);
        }
    }
}

// The number n of a value code "#W<n>" written without leading zero, or 0
// for any other text.
int ValueCodeNumber(const char *code) {
    if (code[0] != '#' || code[1] != 'W' || code[2] < '1' || code[2] > '9') {
        return 0;
    }
    int number = code[2] - '0';
    if (code[3] == '\0') {
        return number;
    }
    if (code[3] < '0' || code[3] > '9' || code[4] != '\0') {
        return 0;
    }
    return number * 10 + (code[3] - '0');
}

// The badge's value for a value code; empty when the code names a balance or
// free text that LoadTimeAccounts did not fill.
const char *ValueOf(const char *code, const BadgeRecord *badge, const char *today) {
    if (std::strcmp(code, kDateCode) == 0) {
        return today;
    }
    int number = ValueCodeNumber(code);
    const char *value = kNoValue;
    if (number >= kFirstTimeAccountCode && number <= kLastTimeAccountCode) {
        value = TimeAccountSlot(badge, number);
    } else if (number >= kFirstFreeTextCode && number <= kLastFreeTextCode) {
        value = FreeTextField(badge, number - kFirstFreeTextCode + 1);
    }
    return value == nullptr ? "" : value;
}

void ResolveValues(MessageTable *table, const BadgeRecord *badge, const char *today) {
    for (MessageEntry &entry : table->Slot) {
        // Every value fits Wert (free texts have 20 characters); one that did
        // not would leave it empty and its columns blank.
        CopyText(entry.Wert, sizeof entry.Wert, ValueOf(entry.Con, badge, today));
    }
}

void PlaceValues(char *record, const MessageTable &table) {
    for (int n = 1; n <= kSlots; ++n) {
        const char *value = table.Slot[n - 1].Wert;
        BlankField(record, ValueField(n));
        if (std::strlen(value) > kLongestSlotValue) {
            PlaceField(record, SlotField(n), value);
        } else {
            PlaceField(record, ValueField(n), value);
        }
    }
}

// The first "#W1" slot shows the whole date, reaching into the last label
// column; any further one keeps the seven characters its value columns hold.
void PlaceDate(char *record, const MessageTable &table, const char *today) {
    for (int n = 1; n <= kSlots; ++n) {
        if (std::strcmp(table.Slot[n - 1].Con, kDateCode) == 0) {
            PlaceField(record, DateField(n), today);
            return;
        }
    }
}

BadgeOutcome HandleBadge(BadgeRecord *badge, const TerminalRecord *terminal, void *context) {
    Mgdnl18pRun *run = static_cast<Mgdnl18pRun *>(context);

    const bool authorised = HasTimeAuthorisation(badge, terminal->TrmNam) != 0;
    if (WalkMustStop()) {
        return BADGE_ABORTED;
    }
    if (!authorised && VerboseMode) {
        std::printf("Ausweis %s auf Terminal %s nicht zulaessig!\n", badge->AswNum,
                    terminal->TrmNam);
    }
    if (badge->AswPnr[0] == '\0' || std::strcmp(badge->AswNum, run->lastWritten) == 0 ||
        !authorised) {
        return BADGE_SKIPPED;
    }
    // A cut badge number would give the record to another badge.
    const size_t numberLength = std::strlen(badge->AswNum);
    if (numberLength > kBadgeNumber.width) {
        ReportRefusedBadge(badge->AswNum, kBadgeNumber.name, numberLength, kBadgeNumber.width);
        return BADGE_SKIPPED;
    }

    char record[kLength];
    MessageTable working;
    if (badge->AswSal[0] != '\0' && run->ownSets) {
        LoadMessageTable(&working, BADGE_DEFINITIONS, badge->AswNum);
        FillRecord(record, kLength);
        PlaceLabels(record, working);
    } else {
        working = run->terminalTable;
        std::memcpy(record, run->terminalLabels, kLength);
    }
    PlaceField(record, kBadgeNumber, badge->AswNum);

    int status = LoadTimeAccounts(badge);
    if (status != 0 && VerboseMode) {
        std::printf("Ausweis:%s Person:%s Saldodaten nicht gefunden! %d\n", badge->AswNum,
                    badge->AswPnr, status);
    }
    if (WalkMustStop()) {
        return BADGE_ABORTED;
    }

    ResolveValues(&working, badge, run->today);
    PlaceValues(record, working);
    PlaceDate(record, working, run->today);
    if (run->fourSlots) {
        for (int n = kShownSlotsOfFourSlotModel + 1; n <= kSlots; ++n) {
            BlankField(record, SlotField(n));
        }
    }
    std::fwrite(record, 1, kLength, DownloadFile);
    CopyText(run->lastWritten, sizeof run->lastWritten, badge->AswNum);
    return BADGE_WRITTEN;
}

} // namespace

int WriteMGDNL18P(const char *, TerminalRecord *terminal) {
    Mgdnl18pRun run;
    std::memset(&run, 0, sizeof run);
    if (!FormatToday(run.today, sizeof run.today)) {
        std::printf("Tagesdatum nicht ermittelbar!\n");
        return 0;
    }
    LoadMessageTable(&run.terminalTable, TERMINAL_DEFINITIONS, terminal->TrmNam);
    // The labels of the terminal's set are the same for every badge that
    // shows them, and the model is the same for every badge.
    FillRecord(run.terminalLabels, kLength);
    PlaceLabels(run.terminalLabels, run.terminalTable);
    run.ownSets = std::strcmp(terminal->TRMMOD, kModelWithOwnSets) == 0;
    run.fourSlots = std::strcmp(terminal->TRMMOD, kModelWithFourSlots) == 0;
    return WalkSucceeded(WalkBadges(terminal, HandleBadge, &run));
}
