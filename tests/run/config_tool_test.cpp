#include "run/config.h"
#include "run/config_tool.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// The file written for admin / geheim / dbhost / orvadat: the schema name is
// stored as "orvadat " because the generator drops its last character.
const char kWrittenFile[] = "PRELUXA;DB;\n1;LOGIN;D73ADA60571E0C4E\n"
                            "PRELUXA;DB;\n2;PASS;F873F3C730E9DF48\n"
                            "PRELUXA;DB;\n3;NET8;08C745688AE26340\n"
                            "PRELUXA;DB;\n4;SCHEMA;1C2A33DC890C92C7\n";

// Encrypted forms under the configuration key.
const char kNeuHex[] = "31DC562522AB93C8";    // "neu"
const char kDbhostHex[] = "08C745688AE26340"; // "dbhost"
const char kSchemaHex[] = "1C2A33DC890C92C7"; // "orvadat "

std::string ReadWhole(std::FILE *file) {
    std::string text;
    std::rewind(file);
    int c;
    while ((c = std::fgetc(file)) != EOF) {
        text += static_cast<char>(c);
    }
    std::fseek(file, 0, SEEK_END);
    return text;
}

// A stream whose content the test reads back afterwards.
struct Stream {
    std::FILE *file = std::tmpfile();
    ~Stream() {
        std::fclose(file);
    }
    std::string Text() {
        return ReadWhole(file);
    }
};

class ConfigToolTest : public testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/preluxa-ini-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        directory_ = pattern;
        path_ = directory_ + "/querandol.ini";
    }

    void TearDown() override {
        for (const std::string &name : DirectoryEntries()) {
            std::remove((directory_ + "/" + name).c_str());
        }
        rmdir(directory_.c_str());
    }

    std::vector<std::string> DirectoryEntries() const {
        std::vector<std::string> names;
        DIR *dir = opendir(directory_.c_str());
        if (dir == nullptr) {
            return names;
        }
        while (dirent *entry = readdir(dir)) {
            std::string name = entry->d_name;
            if (name != "." && name != "..") {
                names.push_back(name);
            }
        }
        closedir(dir);
        return names;
    }

    void WriteContent(const std::string &content) {
        std::FILE *file = std::fopen(path_.c_str(), "wb");
        ASSERT_NE(file, nullptr);
        std::fwrite(content.data(), 1, content.size(), file);
        std::fclose(file);
    }

    std::string Content() const {
        std::FILE *file = std::fopen(path_.c_str(), "rb");
        if (file == nullptr) {
            return "<missing>";
        }
        std::string text = ReadWhole(file);
        std::fclose(file);
        return text;
    }

    std::string Lookup(const char *key) const {
        EXPECT_EQ(ReadConfigValue("", key, 0, path_.c_str()), CONFIG_FOUND) << key;
        return ConfigValue;
    }

    int Run(std::vector<const char *> args, const std::string &input = "") {
        args.insert(args.begin(), "preluxa-ini");
        Stream in;
        std::fwrite(input.data(), 1, input.size(), in.file);
        std::rewind(in.file);
        return RunConfigTool(static_cast<int>(args.size()), args.data(), in.file, out_.file,
                             err_.file);
    }

    std::string directory_;
    std::string path_;
    Stream out_;
    Stream err_;
};

TEST_F(ConfigToolTest, WriteCreatesFileThatGeneratorReadsBack) {
    ASSERT_EQ(WriteConfigFile(path_.c_str(), "admin", "geheim", "dbhost", "orvadat", err_.file),
              kToolSuccess)
        << err_.Text();
    EXPECT_EQ(Content(), kWrittenFile);

    struct stat info;
    ASSERT_EQ(stat(path_.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    // No temporary file is left behind.
    EXPECT_EQ(DirectoryEntries(), std::vector<std::string>{"querandol.ini"});

    EXPECT_EQ(Lookup("LOGIN"), "admin");
    EXPECT_EQ(Lookup("PASS"), "geheim");
    EXPECT_EQ(Lookup("NET8"), "dbhost");
    EXPECT_EQ(Lookup("SCHEMA"), "orvadat ");
}

TEST_F(ConfigToolTest, WriteReplacesExistingFile) {
    WriteContent("PRELUXA;DB;\n1;OLD;0000000000000000\n");
    ASSERT_EQ(Run({"write", path_.c_str(), "admin", "geheim", "dbhost", "orvadat"}), kToolSuccess);
    EXPECT_EQ(Content(), kWrittenFile);
}

TEST_F(ConfigToolTest, ListShowsWhatGeneratorReads) {
    WriteContent(kWrittenFile);
    ASSERT_EQ(Run({"list", path_.c_str()}), kToolSuccess) << err_.Text();
    EXPECT_EQ(out_.Text(), "LOGIN:  \"admin\"\n"
                           "PASS:   ***\n"
                           "NET8:   \"dbhost\"\n"
                           "SCHEMA: \"orvadat \" (schema used: ORVADAT)\n");

    Stream shown;
    ASSERT_EQ(ListConfigFile(path_.c_str(), 1, shown.file, err_.file), kToolSuccess);
    EXPECT_EQ(shown.Text(), "LOGIN:  \"admin\"\n"
                            "PASS:   \"geheim\"\n"
                            "NET8:   \"dbhost\"\n"
                            "SCHEMA: \"orvadat \" (schema used: ORVADAT)\n");
}

TEST_F(ConfigToolTest, ListReportsMissingEntriesAndFile) {
    WriteContent("PRELUXA;DB;\n1;LOGIN;D73ADA60571E0C4E\n");
    EXPECT_EQ(Run({"list", path_.c_str(), "--show-password"}), kToolFailure);
    EXPECT_EQ(out_.Text(), "LOGIN:  \"admin\"\n"
                           "PASS:   (not found)\n"
                           "NET8:   (not found)\n"
                           "SCHEMA: (not found)\n");

    std::string missing = directory_ + "/absent.ini";
    EXPECT_EQ(ListConfigFile(missing.c_str(), 0, out_.file, err_.file), kToolFailure);
    EXPECT_NE(err_.Text().find("cannot open"), std::string::npos);
}

TEST_F(ConfigToolTest, DashValuesComeFromStandardInput) {
    ASSERT_EQ(Run({"write", path_.c_str(), "admin", "-", "dbhost", "-"}, "geheim\r\norvadat\n"),
              kToolSuccess)
        << err_.Text();
    EXPECT_EQ(Content(), kWrittenFile);
}

TEST_F(ConfigToolTest, DashValueFailsOnMissingOrZeroByteLine) {
    const std::string kInputs[] = {"", "geheim\n", std::string("geh\0im\norvadat\n", 15)};
    for (const std::string &input : kInputs) {
        SCOPED_TRACE(input);
        EXPECT_EQ(Run({"write", path_.c_str(), "admin", "-", "dbhost", "-"}, input), kToolFailure);
        EXPECT_EQ(Content(), "<missing>");
    }
}

TEST_F(ConfigToolTest, SetChangesOnlyTheEntry) {
    struct Case {
        const char *name;
        std::string before;
        const char *key;
        const char *value;
        std::string after;
    };
    const std::string kLoginEntry = "PRELUXA;DB;\n1;LOGIN;D73ADA60571E0C4E\n";
    const Case kCases[] = {
        {"replaces the first entry with the key, keeps CR LF and the rest",
         "x;DB;\r\n1;PASS;F873F3C730E9DF48\r\nPRELUXA;DB;\n2;PASS;0000000000000000\n" + kLoginEntry,
         "PASS", "neu",
         "x;DB;\r\n1;PASS;" + std::string(kNeuHex) + "\r\nPRELUXA;DB;\n2;PASS;0000000000000000\n" +
             kLoginEntry},
        {"keeps a value line's odd number text",
         kLoginEntry + "a;DB;b\n 007x;NET8;0123456789ABCDEF;tail\n", "NET8", "dbhost",
         kLoginEntry + "a;DB;b\n 007x;NET8;" + kDbhostHex + "\n"},
        {"stores the schema name with one blank behind it", kLoginEntry, "SCHEMA", "orvadat",
         kLoginEntry + "PRELUXA;DB;\n2;SCHEMA;" + kSchemaHex + "\n"},
        {"appends after the highest number",
         "PRELUXA;DB;\n7;LOGIN;D73ADA60571E0C4E\nPRELUXA;DB;\n3;PASS;F873F3C730E9DF48\n", "NET8",
         "dbhost",
         "PRELUXA;DB;\n7;LOGIN;D73ADA60571E0C4E\nPRELUXA;DB;\n3;PASS;F873F3C730E9DF48\n"
         "PRELUXA;DB;\n8;NET8;" +
             std::string(kDbhostHex) + "\n"},
        {"ends an unterminated last line before appending", "PRELUXA;DB;\n1;LOGIN;D73ADA60571E0C4E",
         "NET8", "dbhost", kLoginEntry + "PRELUXA;DB;\n2;NET8;" + kDbhostHex + "\n"},
        {"a key in a heading line is not an entry", "PRELUXA;NET8;\n1;LOGIN;D73ADA60571E0C4E\n",
         "NET8", "dbhost",
         "PRELUXA;NET8;\n1;LOGIN;D73ADA60571E0C4E\nPRELUXA;DB;\n2;NET8;" + std::string(kDbhostHex) +
             "\n"},
        {"starts an empty file at number 1", "", "PASS", "neu",
         "PRELUXA;DB;\n1;PASS;" + std::string(kNeuHex) + "\n"},
    };
    for (const Case &c : kCases) {
        SCOPED_TRACE(c.name);
        WriteContent(c.before);
        ASSERT_EQ(SetConfigEntry(path_.c_str(), c.key, c.value, err_.file), kToolSuccess)
            << err_.Text();
        EXPECT_EQ(Content(), c.after);
        EXPECT_EQ(DirectoryEntries().size(), 1u);
    }
}

TEST_F(ConfigToolTest, SetThroughCommandLineIsReadBackByGenerator) {
    WriteContent(kWrittenFile);
    ASSERT_EQ(Run({"set", path_.c_str(), "PASS", "-"}, "neu\n"), kToolSuccess) << err_.Text();
    EXPECT_EQ(Lookup("PASS"), "neu");
    EXPECT_EQ(Lookup("LOGIN"), "admin");
    EXPECT_EQ(Lookup("SCHEMA"), "orvadat ");
}

TEST_F(ConfigToolTest, SetRefusesAndKeepsFileWhenEntryWouldNotBeRead) {
    struct Case {
        const char *name;
        std::string before;
    };
    const Case kCases[] = {
        {"earlier heading without a section answers every lookup",
         "PRELUXA\n1;LOGIN;D73ADA60571E0C4E\n"},
        {"earlier entry numbered 0 answers every lookup",
         "PRELUXA;DB;\n0;LOGIN;D73ADA60571E0C4E\n"},
        {"a heading line without its value line", "PRELUXA;DB;\n1;LOGIN;D73ADA60571E0C4E\nX;DB;\n"},
        {"a line longer than the generator reads",
         "PRELUXA;DB;\n1;LOGIN;" + std::string(400, '0') + "\n"},
    };
    for (const Case &c : kCases) {
        SCOPED_TRACE(c.name);
        WriteContent(c.before);
        EXPECT_EQ(SetConfigEntry(path_.c_str(), "NET8", "dbhost", err_.file), kToolFailure);
        EXPECT_EQ(Content(), c.before);
        EXPECT_EQ(DirectoryEntries().size(), 1u);
    }

    std::string missing = directory_ + "/absent.ini";
    EXPECT_EQ(SetConfigEntry(missing.c_str(), "NET8", "dbhost", err_.file), kToolFailure);
    EXPECT_EQ(DirectoryEntries().size(), 1u);
}

TEST_F(ConfigToolTest, RefusesValuesTheGeneratorWouldReject) {
    const std::string k50(50, 'x');
    const std::string k51(51, 'x');
    struct Case {
        std::string key;
        std::string value;
        int accepted;
    };
    const Case kCases[] = {
        {"LOGIN", k50, 1},
        {"LOGIN", k51, 0},
        {"PASS", k50, 1},
        {"PASS", k51, 0},
        {"NET8", k50, 1},
        {"NET8", k51, 0},
        {"SCHEMA", std::string(20, 's'), 1},
        {"SCHEMA", std::string(21, 's'), 0},
        {"OTHER", std::string(96, 'o'), 1},
        {"OTHER", std::string(97, 'o'), 0},
        {"PASS", "", 0},
        {"PASS", "geh\neim", 0},
        {"PASS", "geheim\r", 0},
        {"PASS", "geh eim;\xE4", 1},
        {"", "value", 0},
        {"A;B", "value", 0},
        {"A B", "value", 0},
        {std::string(41, 'K'), "value", 0},
    };
    for (const Case &c : kCases) {
        SCOPED_TRACE(testing::Message() << c.key << " = " << c.value);
        EXPECT_EQ(CheckConfigEntry(c.key.c_str(), c.value.c_str(), err_.file), c.accepted);
    }

    EXPECT_EQ(WriteConfigFile(path_.c_str(), k51.c_str(), "geheim", "dbhost", "orvadat", err_.file),
              kToolFailure);
    EXPECT_EQ(WriteConfigFile(path_.c_str(), "admin", "geheim", "dbhost",
                              std::string(21, 's').c_str(), err_.file),
              kToolFailure);
    EXPECT_EQ(Content(), "<missing>");
}

TEST_F(ConfigToolTest, EncryptPrintsCiphertext) {
    EXPECT_EQ(Run({"encrypt", "hallo"}), kToolSuccess);
    EXPECT_EQ(out_.Text(), "C71D94FF6A8D971D\n");
}

TEST_F(ConfigToolTest, BadCommandLinesPrintUsage) {
    const std::vector<std::vector<const char *>> kArgs = {
        {},
        {"frobnicate"},
        {"write", "f", "a", "b", "c"},
        {"set", "f", "KEY"},
        {"list"},
        {"list", "f", "--show"},
        {"encrypt"},
        {"encrypt", "a", "b"},
    };
    for (const std::vector<const char *> &args : kArgs) {
        SCOPED_TRACE(args.empty() ? "(none)" : args[0]);
        EXPECT_EQ(Run(args), kToolUsageError);
    }
    EXPECT_NE(err_.Text().find("usage: preluxa-ini write"), std::string::npos);
    EXPECT_EQ(out_.Text(), "");
}

} // namespace
