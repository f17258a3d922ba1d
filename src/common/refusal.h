// Console lines for values that do not fit their field. Identifiers are never
// cut: the badge (or the one access item) is left out of the file instead,
// and the line is printed whether or not verbose mode is on.
#pragma once

#include <cstddef>

// "Ausweis <badge> nicht in Datei gestellt: <field> zu lang (<n> Zeichen, hoechstens <limit>)"
void ReportRefusedBadge(const char *badgeNumber, const char *field, size_t length, size_t limit);

// "Ausweis <badge>: Buchungsklasse <class> nicht in Datei gestellt: <field> zu lang (...)"
void ReportRefusedAccessItem(const char *badgeNumber, const char *bookingClass, const char *field,
                             size_t length, size_t limit);
