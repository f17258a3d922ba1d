// The inspector reads back what every writer writes, and points at the
// record and field of every problem in a corrupted file.
#include "writers/inspect.h"

#include "writers/idstamm.h"
#include "writers/mgdnl17p.h"
#include "writers/mgdnl18p.h"
#include "writers/mgdnl31p.h"
#include "writers/mgdnl60p.h"

#include "support/process.h"
#include "support/test_db.h"
#include "support/writer_run.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct WriterCase {
    const char *type;
    WriterFunction writer;
};

const WriterCase kWriters[] = {{"MGDNL17P", WriteMGDNL17P},
                               {"MGDNL18P", WriteMGDNL18P},
                               {"MGDNL31P", WriteMGDNL31P},
                               {"MGDNL60P", WriteMGDNL60P},
                               {"IDSTAMM", WriteIDSTAMM}};

class InspectTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        LoadFixture(ReadSourceFile("db/demo.sql"));
        for (const WriterCase &c : kWriters) {
            files_.push_back(RunWriter(c.writer, "EINGANG-01").file);
        }
    }
    static std::string FileOf(const std::string &type) {
        for (size_t i = 0; i < std::size(kWriters); ++i) {
            if (type == kWriters[i].type) {
                return files_[i];
            }
        }
        return "";
    }
    static std::vector<std::string> files_;
};

std::vector<std::string> InspectTest::files_;

// Puts decoded fields back at their columns (or quotes them for IDSTAMM).
std::string Reassemble(const FileType &type, const std::vector<DecodedRecord> &records) {
    std::string file;
    for (const DecodedRecord &record : records) {
        if (type.recordLength == 0) {
            for (size_t f = 0; f < record.size(); ++f) {
                file += (f == 0 ? "\"" : ",\"") + record[f] + "\"";
            }
            file += "\r\n";
            continue;
        }
        std::string text(type.recordLength, ' ');
        for (size_t f = 0; f < record.size(); ++f) {
            text.replace(type.fields[f].field.column - 1, record[f].size(), record[f]);
        }
        file += text;
    }
    return file;
}

TEST_F(InspectTest, EveryWritersOutputReadsBackWholeAndChecksClean) {
    for (const WriterCase &c : kWriters) {
        SCOPED_TRACE(c.type);
        const FileType *type = FindFileType(c.type);
        ASSERT_NE(type, nullptr);
        std::string file = FileOf(c.type);
        ASSERT_FALSE(file.empty());
        EXPECT_EQ(FileTypeFromContent(file), type);
        EXPECT_EQ(CheckFile(*type, file), std::vector<std::string>{});
        std::vector<DecodedRecord> records = DecodeFile(*type, file);
        EXPECT_EQ(Reassemble(*type, records), file) << "every column belongs to one field";
        EXPECT_EQ(records[0][0].substr(0, 5), "10001");
    }
}

TEST_F(InspectTest, FixedLengthFieldsNeverOverlap) {
    for (const FileType &type : FileTypes()) {
        if (type.recordLength == 0) {
            continue;
        }
        SCOPED_TRACE(type.name);
        std::vector<int> owners(type.recordLength, 0);
        for (const NamedField &named : type.fields) {
            ASSERT_LE(named.field.column + named.field.width - 1, type.recordLength);
            for (size_t c = 0; c < named.field.width; ++c) {
                ++owners[named.field.column - 1 + c];
            }
        }
        for (size_t c = 0; c < owners.size(); ++c) {
            EXPECT_LE(owners[c], 1) << "column " << c + 1;
        }
    }
}

// A corruption of a good file and the problem the check must name first.
struct Corruption {
    const char *type;
    const char *name;
    std::string (*corrupt)(std::string);
    const char *problem;
};

const Corruption kCorruptions[] = {
    {"MGDNL31P", "last record cut", [](std::string f) { return f.substr(0, f.size() - 1); },
     "record 11: only 47 of 48 characters"},
    {"MGDNL31P", "line break", [](std::string f) { return f.replace(50, 1, "\n"); },
     "record 2: line break at column 3"},
    {"MGDNL31P", "date with a letter", [](std::string f) { return f.replace(48 + 16, 1, "x"); },
     "record 2, field AswGvo: date \"202x1106\" is not 8 digits"},
    {"MGDNL31P", "flag 2", [](std::string f) { return f.replace(29, 1, "2"); },
     "record 1, field TimeAuthFlag: flag \"2\" is not 0 or 1"},
    {"MGDNL31P", "constant changed", [](std::string f) { return f.replace(31, 1, "Y"); },
     "record 1, field Constant: \"YXXX,XX-\" is not XXXX,XX-"},
    {"MGDNL17P", "wrong reader number", [](std::string f) { return f.replace(40, 2, "05"); },
     "record 1, field Reader03: \"05\" is neither blank nor the reader number 03"},
    // Reader 5 is switched off at the gate, so its field is blank.
    {"MGDNL17P", "class without reader", [](std::string f) { return f.replace(52, 3, "X  "); },
     "record 1, field ReaderClass05: booking class \"X  \" without reader number"},
    {"IDSTAMM", "LF only", [](std::string f) { return f.erase(f.find("\r\n"), 1); },
     "record 1: line does not end with CR LF"},
    {"IDSTAMM", "field missing", [](std::string f) { return f.erase(0, f.find(",") + 1); },
     "record 1: 13 fields instead of 14"},
    {"IDSTAMM", "unquoted field", [](std::string f) { return f.erase(0, 1); },
     "record 1: not a line of quoted fields"},
    {"IDSTAMM", "flag 2",
     [](std::string f) { return f.replace(f.find("\"1\",\"1\""), 3, "\"2\""); },
     "record 1, field TimeAuthFlag: flag \"2\" is not 0 or 1"},
    {"MGDNL17P", "class in reader field 8", [](std::string f) { return f.replace(67, 1, "Z"); },
     "record 1: column 68 is not blank"},
    {"MGDNL18P", "zero byte", [](std::string f) { return f.replace(200, 1, std::string(1, '\0')); },
     "record 2: zero byte at column 28"},
};

TEST_F(InspectTest, CorruptedFilesNameRecordAndField) {
    for (const Corruption &c : kCorruptions) {
        SCOPED_TRACE(std::string(c.type) + ": " + c.name);
        std::string file = FileOf(c.type);
        std::string bad = c.corrupt(file);
        std::vector<std::string> problems = CheckFile(*FindFileType(c.type), bad);
        ASSERT_FALSE(problems.empty());
        EXPECT_EQ(problems[0], c.problem);
    }
}

TEST_F(InspectTest, CommandLineRecognisesTypesAndReportsProblems) {
    ScratchDir dir;
    WriteBytes(dir / "T.MGDNL60P", FileOf("MGDNL60P"));
    WriteBytes(dir / "unnamed.dnl", FileOf("MGDNL31P"));
    WriteBytes(dir / "bad.dnl", FileOf("MGDNL31P").substr(1));
    WriteBytes(dir / "ambiguous", std::string(45 * 48, ' '));
    struct Case {
        std::vector<std::string> args;
        int exitStatus;
        std::string outStart;
    } cases[] = {
        {{dir / "T.MGDNL60P", "--check"}, 0, dir / "T.MGDNL60P" + ": MGDNL60P, 14 record(s)"},
        {{dir / "unnamed.dnl", "--check"}, 0, dir / "unnamed.dnl" + ": MGDNL31P, 11 record(s)"},
        {{dir / "bad.dnl", "MGDNL31P", "--check"},
         1,
         dir / "bad.dnl" + ": record 11: only 47 of 48 characters\n"},
        {{dir / "unnamed.dnl", "--csv"}, 0, "AswNum,AswGvo,AswGbi,TimeAuthFlag,AccessFlag,"},
        {{dir / "T.MGDNL60P", "--json"},
         0,
         "{\"type\": \"MGDNL60P\", \"records\": [\n  {\"AswNum\""},
        {{dir / "ambiguous"}, 2, ""},
        {{dir / "unnamed.dnl", "MGDNL99P"}, 2, ""},
        {{dir / "missing"}, 2, ""},
        {{}, 2, ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.args.empty() ? "no arguments" : c.args.back());
        ProgramResult result = RunProgram(PRELUXA_INSPECT_BINARY, c.args, dir.path());
        EXPECT_EQ(result.exitStatus, c.exitStatus) << result.err;
        EXPECT_EQ(result.out.substr(0, c.outStart.size()), c.outStart);
        if (c.exitStatus == 2) {
            EXPECT_FALSE(result.err.empty());
        }
    }
}

} // namespace
