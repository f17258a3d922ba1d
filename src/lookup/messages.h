// The display-text definitions of the MGDNL18P file, read as two cursors: the
// terminal's display set in the terminal's language, and a badge's own
// display set in the badge's language. Every fetch delivers one definition
// with its value code, looked up by a single-row statement of its own.
//
// Calling order for each level: Open once, Fetch until it returns non-zero,
// Close once (also when Open failed). Each operation leaves its result in
// DbStatus. Nothing is printed.
#pragma once

#include "lookup/label_text.h"

#include <cstdint>

constexpr int kValueCodeLength = 10;
constexpr int kValueTextLength = 20;

// One display-text definition. The caller owns it; a fetch that delivers a
// definition overwrites all of it, so nothing of an earlier one remains.
struct MessageEntry {
    int32_t MsdLfd;                  // sequence number; 1 to 8 select the writer's slot, 0 for NULL
    int32_t MsdSpl;                  // column indicator, 1 for NULL; 2 shifts labels of slots 5-8
    char Txt[kLabelWidth + 1];       // label "%-12s ", or empty when the definition has none
    char Con[kValueCodeLength + 1];  // value code (FTXT10, right-trimmed), e.g. "#W2", or empty
    char Wert[kValueTextLength + 1]; // value text: seven blanks until the writer resolves it
};

// Executes the terminal-level definitions statement for the terminal and
// keeps the name for the value-code statements. Returns 0, the database's
// error number, or -1 for a name longer than a TerminalRecord holds.
int OpenTerminalMessages(const char *terminalName);

// Delivers the next terminal-level definition into *entry and returns 0; the
// label is decoded ("&#241;") and a non-empty MsdTxt replaces it. A definition
// without a value code is delivered with an empty Con. Otherwise returns
// NO_MORE_ROWS after the last definition, or the error status of the
// definitions fetch or of the value-code statement; *entry is then unchanged.
int FetchTerminalMessage(MessageEntry *entry);

// Releases the terminal-level result: 0, or -1 when there was none.
int CloseTerminalMessages();

// As OpenTerminalMessages, for the badge's own display set; -1 for a badge
// number longer than a BadgeRecord holds.
int OpenBadgeMessages(const char *badgeNumber);

// As FetchTerminalMessage, with the badge-level label rule: the label is not
// decoded, and a non-NULL MsdTxt always replaces it (an empty one with
// blanks).
int FetchBadgeMessage(MessageEntry *entry);

// Releases the badge-level result: 0, or -1 when there was none.
int CloseBadgeMessages();
