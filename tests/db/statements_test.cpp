// Every statement template runs against the reference schema, so a typo in a
// statement or a column missing from db/schema.sql fails here.
#include "db/db.h"
#include "lookup/statements.h"

#include "support/test_db.h"

#include <gtest/gtest.h>

namespace {

struct TemplateCase {
    const char *name;
    const char *tmpl;
    int textValues;
    bool number;
};

const TemplateCase kTemplates[] = {
    {"badges", kBadgeStatementGeneral, 0, false},
    {"badges for terminal", kBadgeStatementForTerminal, 1, false},
    {"terminal", kTerminalStatement, 1, false},
    {"assignment count", kAssignmentCountStatement, 1, false},
    {"time authorisation", kTimeAuthorisationStatement, 2, false},
    {"readers", kReaderStatement, 1, true},
    {"access", kAccessStatement, 2, false},
    {"time accounts", kTimeAccountStatement, 1, false},
    {"location", kLocationStatement, 1, false},
    {"terminal messages", kTerminalMessageStatement, 1, false},
    {"terminal value code", kTerminalValueCodeStatement, 1, true},
    {"badge messages", kBadgeMessageStatement, 1, false},
    {"badge value code", kBadgeValueCodeStatement, 1, true},
};

TEST(StatementTemplateTest, EveryTemplateRunsAgainstTheReferenceSchema) {
    LoadFixture("");
    ConnectGenerator();
    for (const TemplateCase &c : kTemplates) {
        SCOPED_TRACE(c.name);
        DbCursor cursor = {};
        int status;
        if (c.textValues == 0) {
            status = RunStatement(&cursor, c.tmpl, {});
        } else if (c.textValues == 1 && !c.number) {
            status = RunStatement(&cursor, c.tmpl, {"T'1"});
        } else if (c.textValues == 1) {
            status = RunStatement(&cursor, c.tmpl, {"T'1", 3L});
        } else {
            status = RunStatement(&cursor, c.tmpl, {"T'1", "B\\2"});
        }
        EXPECT_EQ(status, 0) << StatementBuffer;
        EXPECT_EQ(DbFetch(&cursor, &CurrentRow) == -1, false);
        DbFree(&cursor);
    }
}

} // namespace
