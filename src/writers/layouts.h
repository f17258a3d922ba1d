// The record layouts of the fixed-length download files, column by column.
// Writers and the tools that read the files both use these definitions.
#pragma once

#include "writers/record_layout.h"

// MGDNL31P: access profile, one 48-character record per badge and access item.
namespace Mgdnl31p {
inline constexpr size_t kLength = 48;
inline constexpr RecordField kBadgeNumber = {"AswNum", 1, 13};
inline constexpr RecordField kValidFrom = {"AswGvo", 14, 8};
inline constexpr RecordField kValidUntil = {"AswGbi", 22, 8};
inline constexpr RecordField kTimeAuthFlag = {"TimeAuthFlag", 30, 1};
inline constexpr RecordField kAccessFlag = {"AccessFlag", 31, 1};
inline constexpr RecordField kConstantText = {"Constant", 32, 8}; // always "XXXX,XX-"
inline constexpr RecordField kFixedCode = {"FixedCode", 40, 3};   // always "001"
inline constexpr RecordField kBookingClass = {"M35BKL", 43, 3};
inline constexpr RecordField kLocation = {"StoKtx", 46, 3};
inline constexpr RecordField kFields[] = {kBadgeNumber,  kValidFrom,    kValidUntil,
                                          kTimeAuthFlag, kAccessFlag,   kConstantText,
                                          kFixedCode,    kBookingClass, kLocation};
} // namespace Mgdnl31p

// Reader fields of MGDNL17P and MGDNL60P: field n (1-based) starts at column
// 26 + 5n with the two-digit reader number, followed by a booking class.
inline constexpr RecordField ReaderNumberField(int n) {
    return {"Reader", static_cast<size_t>(26 + 5 * n), 2};
}
inline constexpr RecordField ReaderClassField(int n) {
    return {"ReaderClass", static_cast<size_t>(28 + 5 * n), 3};
}

// MGDNL17P: 85-character records, balance and eleven reader fields; reader
// field 7 carries "07" and the location short text when the badge has one.
namespace Mgdnl17p {
inline constexpr size_t kLength = 85;
inline constexpr int kReaderFields = 11;
inline constexpr int kClassReaderFields = 6; // only readers 1 to 6 carry a booking class
inline constexpr int kLocationReaderField = 7;
inline constexpr RecordField kBadgeNumber = {"AswNum", 1, 13};
inline constexpr RecordField kValidFrom = {"AswGvo", 14, 8};
inline constexpr RecordField kTimeAuthFlag = {"TimeAuthFlag", 22, 1};
inline constexpr RecordField kAccessFlag = {"AccessFlag", 23, 1};
inline constexpr RecordField kBalance = {"TswW02", 24, 7};
inline constexpr RecordField kLocationMark = ReaderNumberField(kLocationReaderField); // "07"
inline constexpr RecordField kLocation = {"StoKtx", 63, 3};
inline constexpr RecordField kFields[] = {kBadgeNumber,
                                          kValidFrom,
                                          kTimeAuthFlag,
                                          kAccessFlag,
                                          kBalance,
                                          ReaderNumberField(1),
                                          ReaderClassField(1),
                                          ReaderNumberField(2),
                                          ReaderClassField(2),
                                          ReaderNumberField(3),
                                          ReaderClassField(3),
                                          ReaderNumberField(4),
                                          ReaderClassField(4),
                                          ReaderNumberField(5),
                                          ReaderClassField(5),
                                          ReaderNumberField(6),
                                          ReaderClassField(6),
                                          kLocationMark,
                                          kLocation,
                                          ReaderNumberField(8),
                                          ReaderNumberField(9),
                                          ReaderNumberField(10),
                                          ReaderNumberField(11)};
} // namespace Mgdnl17p

// MGDNL60P: 45-character records, balance and three reader fields.
namespace Mgdnl60p {
inline constexpr size_t kLength = 45;
inline constexpr int kReaderFields = 3;
inline constexpr RecordField kBadgeNumber = {"AswNum", 1, 13};
inline constexpr RecordField kValidFrom = {"AswGvo", 14, 8};
inline constexpr RecordField kTimeAuthFlag = {"TimeAuthFlag", 22, 1};
inline constexpr RecordField kAccessFlag = {"AccessFlag", 23, 1};
inline constexpr RecordField kBalance = {"TswW09", 24, 7};
inline constexpr RecordField kFields[] = {kBadgeNumber,
                                          kValidFrom,
                                          kTimeAuthFlag,
                                          kAccessFlag,
                                          kBalance,
                                          ReaderNumberField(1),
                                          ReaderClassField(1),
                                          ReaderNumberField(2),
                                          ReaderClassField(2),
                                          ReaderNumberField(3),
                                          ReaderClassField(3)};
} // namespace Mgdnl60p

// MGDNL18P: 173-character records, the badge number and eight display slots
// of a 13-column label and a 7-column value.
namespace Mgdnl18p {
inline constexpr size_t kLength = 173;
inline constexpr int kSlots = 8;
inline constexpr RecordField kBadgeNumber = {"AswNum", 1, 13};
// Slot n (1-based) as a whole: label and value, 20 columns.
inline constexpr RecordField SlotField(int n) {
    return {"Slot", static_cast<size_t>(14 + 20 * (n - 1)), 20};
}
inline constexpr RecordField LabelField(int n) {
    return {"Label", static_cast<size_t>(14 + 20 * (n - 1)), 13};
}
inline constexpr RecordField ValueField(int n) {
    return {"Value", static_cast<size_t>(27 + 20 * (n - 1)), 7};
}
// A label shifted one column to the right, without its trailing blank.
inline constexpr RecordField ShiftedLabelField(int n) {
    return {"Label", LabelField(n).column + 1, LabelField(n).width - 1};
}
// The full date of the first "#W1" slot: the last label column and the value.
inline constexpr RecordField DateField(int n) {
    return {"Date", ValueField(n).column - 1, ValueField(n).width + 1};
}
} // namespace Mgdnl18p

// IDSTAMM: lines of 14 double-quoted fields separated by commas, each line
// ending in CR LF.
namespace Idstamm {
inline constexpr int kFieldCount = 14;
inline constexpr const char *kFieldNames[kFieldCount] = {
    "AswNum", "AswGvo",    "AswGbi", "AwvSto", "TimeAuthFlag", "AccessFlag", "AswSpr",
    "AswSal", "FixedCode", "M35BKL", "AswPnr", "AswNum",       "AswAtp",     "AswPin"};
} // namespace Idstamm
