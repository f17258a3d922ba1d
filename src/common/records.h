// The records that several subsystems share. Widths are in bytes and include
// the terminating zero byte, so a field of width w holds w - 1 characters.
#pragma once

#include <cstdint>

// The run's terminal: created all-zero by run control with the name, completed
// once by LookupTerminal, read-only afterwards.
struct TerminalRecord {
    char TrmNam[256];    // terminal name from the command line (Param2)
    char TRMMOD[11];     // model from Orv1140Trm, right-trimmed, e.g. "7744-010"
    char TRMSAL[13];     // display-set code from Orv1140Trm, right-trimmed
    int AssignmentCount; // active Orv115Tfz rows; > 0 selects the client-specific badge walk
};

constexpr int kTimeAccountSlots = 15;
constexpr int kTimeAccountSlotWidth = 8;
constexpr int kFreeTexts = 10;
constexpr int kFreeTextWidth = 21;
constexpr int kReaderSlots = 11;
constexpr int kReaderSlotWidth = 3;

// Order of the balance slots in the BadgeRecord: the TswW column number of
// each slot.
constexpr int kTimeAccountColumns[kTimeAccountSlots] = {2,  9, 10, 11, 12, 13, 14, 15,
                                                        16, 8, 5,  6,  7,  3,  4};

// One badge row of the badge walk. The fields lie back to back; every writer
// zero-fills the whole record before each fetch.
struct BadgeRecord {
    char AswNum[51];      // badge number, right-trimmed (Orv301Asw.AswNum)
    char AswGvo[15];      // first day of validity, YYYYMMDD, or empty
    char AswGbi[15];      // last day of validity, YYYYMMDD, or empty
    char TimeAuthFlag[2]; // "0"/"1", filled by the IDSTAMM writer only
    char AccessFlag[2];   // "0"/"1", filled by the IDSTAMM writer only
    char AswSal[11];      // the badge's own display-set code, right-trimmed
    char AswSpr[5];       // language number as decimal text ("1" when NULL)
    char FixedCode[10];   // "001", filled by the IDSTAMM writer only
    char AswBkl[12];      // booking class ("%-3s" of AswBkl, else of AswBk2)
    char StoKtx[4];       // location short text, at most 3 characters
    char AwvSto[9];       // location number, "%08s" of Orv113Awv.AwvSto
    char AswGrp[6];       // group, right-trimmed
    char AswPnr[60];      // personnel number, right-trimmed
    char AswAtp[50];      // badge type as decimal text ("0" when NULL)
    char AswPin[33];      // PIN, right-trimmed
    char TimeAccounts[kTimeAccountSlots]
                     [kTimeAccountSlotWidth];         // balances, order kTimeAccountColumns
    char FreeTexts[kFreeTexts][kFreeTextWidth];       // TswF01..TswF10, "%-20s", untrimmed
    char ReaderSlots[kReaderSlots][kReaderSlotWidth]; // slot n-1: reader n as "%02d"
};

// One access booking class of the current badge on the terminal.
struct AccessItem {
    char M35BKL[6]; // booking class, "%-3s"
    char M35LES[6]; // reader, "%-2s"
    int32_t AWBZUV; // priority of the badge's booking-class assignment
};

// The current badge's access profile, in descending priority; rebuilt per badge.
struct AccessList {
    int32_t count;     // number of items, 0 when empty
    AccessItem *items; // contiguous array of `count` items
};
