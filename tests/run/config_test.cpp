#include "run/config.h"

#include "run/password.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// Writes exactly these bytes, so line ends and a missing last line feed stay
// as the case gives them.
void WriteFileBytes(const std::string &path, const std::string &bytes) {
    std::FILE *file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), file), bytes.size());
    ASSERT_EQ(std::fclose(file), 0);
}

std::string Encrypt(const std::string &plain) {
    char hex[2 * kConfigFieldCapacity + 1];
    int length = EncryptPassword(plain.c_str(), hex, sizeof hex, kConfigKey);
    EXPECT_GE(length, 0) << plain;
    return hex;
}

// Replaces every "{plain}" with the encrypted form of plain, so fixtures read
// like the file they stand for.
std::string Expand(const std::string &text) {
    std::string result;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t open = text.find('{', pos);
        size_t close = open == std::string::npos ? open : text.find('}', open);
        if (close == std::string::npos) {
            result += text.substr(pos);
            break;
        }
        result += text.substr(pos, open - pos) + Encrypt(text.substr(open + 1, close - open - 1));
        pos = close + 1;
    }
    return result;
}

std::string Decrypt(const std::string &hex) {
    std::vector<char> plain(hex.size() / 2 + 1);
    DecryptPassword(hex.c_str(), plain.data(), kConfigKey);
    return plain.data();
}

class ConfigFileTest : public testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = testing::TempDir() + "preluxa_config_XXXXXX";
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        ASSERT_NE(mkdtemp(name.data()), nullptr);
        dir_ = name.data();
        path_ = dir_ + "/querandol.ini";
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }

    // Runs one lookup with ConfigValue and ConfigErrorLine holding leftovers,
    // so that the call is seen to reset them.
    int Lookup(const std::string &section, const std::string &key, int number,
               const std::string &path) {
        std::memcpy(ConfigValue, "left over", sizeof "left over");
        ConfigErrorLine = 99;
        return ReadConfigValue(section.c_str(), key.c_str(), number, path.c_str());
    }

    std::string dir_;
    std::string path_;
};

// Every lookup below by the caller's rule (empty section, number 0) unless a
// case says otherwise. `value` is the raw value field expected to be found;
// ConfigValue must hold its decryption.
struct LookupCase {
    const char *name;
    std::string file;
    const char *key;
    int status;
    std::string value;
    const char *section = "";
    int number = 0;
};

const std::string kTwoEntries = "x;DB;\n1;LOGIN;{scott}\nx;DB;\n2;PASS;{tiger}\n";

TEST_F(ConfigFileTest, FindsTheFirstMatchingEntry) {
    const LookupCase cases[] = {
        {"key of the first entry", kTwoEntries, "LOGIN", CONFIG_FOUND, "{scott}"},
        {"key of a later entry", kTwoEntries, "PASS", CONFIG_FOUND, "{tiger}"},
        {"key not present", kTwoEntries, "NET8", CONFIG_NOT_FOUND, ""},
        {"same key twice: first wins", "x;DB;\n1;PASS;{first}\nx;DB;\n2;PASS;{second}\n", "PASS",
         CONFIG_FOUND, "{first}"},
        {"keys are case-sensitive", "x;DB;\n1;pass;{lower}\nx;DB;\n2;PASS;{upper}\n", "PASS",
         CONFIG_FOUND, "{upper}"},

        // Sections.
        {"heading with one ';' has an empty section, matching any key",
         "x;DB\n1;LOGIN;{scott}\nx;DB;\n2;PASS;{tiger}\n", "PASS", CONFIG_FOUND, "{scott}"},
        {"heading without ';' has an empty section", "DB\n1;LOGIN;{scott}\nx;DB;\n2;PASS;{tiger}\n",
         "PASS", CONFIG_FOUND, "{scott}"},
        {"x;;DB is not an empty section", "x;;DB\n1;LOGIN;{scott}\nx;DB;\n2;PASS;{tiger}\n", "PASS",
         CONFIG_FOUND, "{tiger}"},
        {"x;;DB gives the section ;DB with its line feed",
         "x;DB;\n1;LOGIN;{scott}\nx;;DB\n2;PASS;{tiger}\n", "NONE", CONFIG_FOUND, "{tiger}",
         ";DB\n", -1},
        {"lookup by section", "x;AB;\n1;LOGIN;{scott}\nx;DB;\n2;PASS;{tiger}\n", "NONE",
         CONFIG_FOUND, "{tiger}", "DB", -1},

        // Numbers.
        {"number 0 matches any key", "x;DB;\n0;LOGIN;{scott}\nx;DB;\n2;PASS;{tiger}\n", "PASS",
         CONFIG_FOUND, "{scott}"},
        {"number 00 matches any key", "x;DB;\n00;LOGIN;{scott}\nx;DB;\n2;PASS;{tiger}\n", "PASS",
         CONFIG_FOUND, "{scott}"},
        {"number without digits reads 0", "x;DB;\nabc;LOGIN;{scott}\nx;DB;\n2;PASS;{tiger}\n",
         "PASS", CONFIG_FOUND, "{scott}"},
        {"empty number field reads 0", "x;DB;\n;LOGIN;{scott}\nx;DB;\n2;PASS;{tiger}\n", "PASS",
         CONFIG_FOUND, "{scott}"},
        {"lookup by leading-decimal number", "x;DB;\n12;A;{scott}\nx;DB;\n 7x;B;{tiger}\n", "NONE",
         CONFIG_FOUND, "{tiger}", "NONE", 7},
        {"11-digit number is read", "x;DB;\n12345678901;LOGIN;{scott}\n", "LOGIN", CONFIG_FOUND,
         "{scott}"},

        // Keys.
        {"one ';' in the value line: empty key, value after it",
         "x;DB;\n1;{scott}\nx;DB;\n2;PASS;{tiger}\n", "", CONFIG_FOUND, "{scott}", "NONE", -1},
        {"an empty key does not match a named key", "x;DB;\n1;{scott}\nx;DB;\n2;PASS;{tiger}\n",
         "PASS", CONFIG_FOUND, "{tiger}"},
        {"two ';' in a row: key is the rest of the line",
         "x;DB;\n1;;{scott}\nx;DB;\n2;PASS;{tiger}\n", ";{scott}\n", CONFIG_FOUND, "{scott}",
         "NONE", -1},

        // Values.
        {"further ';' belong to the value", "x;DB;\n1;LOGIN;{abcdefgh};0123456789ABCDE\n", "LOGIN",
         CONFIG_FOUND, "{abcdefgh};0123456789ABCDE"},
        {"empty value", "x;DB;\n1;LOGIN;\n", "LOGIN", CONFIG_FOUND, ""},
        {"last line without line feed", "x;DB;\n1;LOGIN;{scott}", "LOGIN", CONFIG_FOUND, "{scott}"},

        // Line ends and odd files.
        {"CR LF line ends", "x;DB;\r\n1;LOGIN;{scott}\r\nx;DB;\r\n2;PASS;{tiger}\r\n", "PASS",
         CONFIG_FOUND, "{tiger}"},
        {"CR of CR LF is not part of a section", "x;DB;\r\n1;A;{scott}\r\nx;;DB\r\n2;B;{tiger}\r\n",
         "NONE", CONFIG_FOUND, "{tiger}", ";DB\n", -1},
        // With the CR the value would reach 32 characters, one more block.
        {"CR of CR LF is not part of a value", "x;DB;\r\n1;LOGIN;{abcdefgh}0123456789ABCDE\r\n",
         "LOGIN", CONFIG_FOUND, "{abcdefgh}0123456789ABCDE"},
        {"CR without LF stays in the line", "x;DB\r;\n1;A;{scott}\n", "NONE", CONFIG_FOUND,
         "{scott}", "DB\r", -1},
        {"odd last line is ignored even if it would match", "x;DB;\n1;LOGIN;{scott}\nx;\n", "PASS",
         CONFIG_NOT_FOUND, ""},
        {"empty file", "", "LOGIN", CONFIG_NOT_FOUND, ""},

        // Zero bytes end a line's text but not the line.
        {"zero byte ends the value line's text", std::string("x;DB;\n1;{scott}") + '\0' + "XX;;\n",
         "", CONFIG_FOUND, "{scott}", "NONE", -1},
        {"zero byte ends the heading's text", std::string("x;D") + '\0' + "B;\n1;LOGIN;{scott}\n",
         "PASS", CONFIG_FOUND, "{scott}"},
    };
    for (const LookupCase &c : cases) {
        SCOPED_TRACE(c.name);
        WriteFileBytes(path_, Expand(c.file));
        EXPECT_EQ(Lookup(c.section, Expand(c.key), c.number, path_), c.status);
        EXPECT_STREQ(ConfigValue, Decrypt(Expand(c.value)).c_str());
        EXPECT_EQ(ConfigErrorLine, 0);
    }
}

TEST_F(ConfigFileTest, DecryptsEveryValueAndRereadsTheFile) {
    WriteFileBytes(path_, Expand("x;DB;\n1;LOGIN;{scott}\nx;DB;\n2;PASS;{tiger}\n"
                                 "x;DB;\n3;NET8;{db.example.org}\nx;DB;\n4;SCHEMA;{orvadat}\n"));
    const char *const keys[] = {"LOGIN", "PASS", "NET8", "SCHEMA"};
    const char *const plain[] = {"scott", "tiger", "db.example.org", "orvadat"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(Lookup("", keys[i], 0, path_), CONFIG_FOUND);
        EXPECT_STREQ(ConfigValue, plain[i]);
    }

    WriteFileBytes(path_, Expand("x;DB;\n1;LOGIN;{changed}\n"));
    EXPECT_EQ(Lookup("", "LOGIN", 0, path_), CONFIG_FOUND);
    EXPECT_STREQ(ConfigValue, "changed");
}

TEST_F(ConfigFileTest, UnreadablePathGivesNotFound) {
    const std::string paths[] = {dir_ + "/missing.ini", dir_};
    for (const std::string &path : paths) {
        SCOPED_TRACE(path);
        EXPECT_EQ(Lookup("", "LOGIN", 0, path), CONFIG_NOT_FOUND);
        EXPECT_STREQ(ConfigValue, "");
        EXPECT_EQ(ConfigErrorLine, 0);
    }
}

struct MalformedCase {
    const char *name;
    std::string file;
    int errorLine; // 0: the file reads without error
};

// Entries that do and do not answer the lookup of LOGIN.
const std::string kLoginEntry = "x;DB;\n1;LOGIN;{scott}\n";
const std::string kOtherEntry = "x;DB;\n2;PASS;{tiger}\n";

// Heading and value lines of a given length, line feed included.
std::string HeadingLine(size_t length) {
    return "x;DB;" + std::string(length - 6, 'h') + "\n";
}
std::string ValueLine(size_t length) {
    return "1;LOGIN;" + std::string(length - 9, 'V') + "\n";
}

TEST_F(ConfigFileTest, RejectsLinesThatCannotBeReadSafely) {
    const MalformedCase cases[] = {
        {"heading line of 199", HeadingLine(199) + "1;LOGIN;{scott}\n", 0},
        {"heading line of 200", HeadingLine(200) + "1;LOGIN;{scott}\n", 1},
        {"heading line of 199 plus CR", "x;DB;" + std::string(193, 'h') + "\r\n1;LOGIN;{scott}\n",
         0},
        {"heading line of 199 without LF", "x;DB;" + std::string(194, 'h'), 0},
        {"heading line of 200 without LF", "x;DB;" + std::string(195, 'h'), 1},
        {"heading line of 200 zero bytes", std::string(199, '\0') + "\n1;LOGIN;{scott}\n", 1},
        {"second heading line too long", kOtherEntry + HeadingLine(200) + "1;LOGIN;{scott}\n", 3},

        // A value line of 399 needs a key near its limit to keep the value
        // within 200 characters.
        {"value line of 399",
         "x;DB;\n1;" + std::string(200, 'K') + ";" + std::string(195, 'V') + "\n", 0},
        {"value line of 400",
         "x;DB;\n1;" + std::string(200, 'K') + ";" + std::string(196, 'V') + "\n", 2},
        {"value line of 399 plus CR",
         "x;DB;\n1;" + std::string(200, 'K') + ";" + std::string(195, 'V') + "\r\n", 0},
        {"value line without ';'", "x;DB;\nLOGIN\n", 2},
        {"empty value line", "x;DB;\n\n", 2},
        {"value line cut by a zero byte before its ';'",
         std::string("x;DB;\n1") + '\0' + ";LOGIN;{scott}\n", 2},
        {"number of 12 characters", "x;DB;\n123456789012;LOGIN;{scott}\n", 2},
        {"key of 200", "x;DB;\n1;" + std::string(200, 'K') + ";{scott}\n", 0},
        {"key of 201", "x;DB;\n1;" + std::string(201, 'K') + ";{scott}\n", 2},
        {"key through ';;' reaching 201 with its LF", "x;DB;\n1;;" + std::string(199, 'K') + "\n",
         2},
        {"value of 200", "x;DB;\n" + ValueLine(209), 0},
        {"value of 201", "x;DB;\n" + ValueLine(210), 2},
        {"value of 201 without LF", "x;DB;\n1;LOGIN;" + std::string(201, 'V'), 2},
        {"malformed entry after the match is not read", kLoginEntry + "x;DB;\nLOGIN\n", 0},
        {"malformed entry before the match", kOtherEntry + "x;DB;\nLOGIN\n" + kLoginEntry, 4},
    };
    for (const MalformedCase &c : cases) {
        SCOPED_TRACE(c.name);
        WriteFileBytes(path_, Expand(c.file));
        int status = Lookup("", "LOGIN", 0, path_);
        if (c.errorLine == 0) {
            EXPECT_NE(status, CONFIG_MALFORMED);
        } else {
            EXPECT_EQ(status, CONFIG_MALFORMED);
            EXPECT_STREQ(ConfigValue, "");
        }
        EXPECT_EQ(ConfigErrorLine, c.errorLine);
    }
}

// Random bytes, heavy in the characters that drive the field cutting, must
// never crash the reader or leave an unterminated or out-of-range result.
// Besides the caller's lookup, one that matches almost nothing reads on deep
// into each file.
TEST_F(ConfigFileTest, ReadsBinaryGarbageSafely) {
    const char interesting[] = {';', ';', ';', '\n', '\r', '\0', '0', 'A'};
    unsigned int seed = 12345;
    for (int round = 0; round < 300; ++round) {
        std::string bytes;
        seed = seed * 1103515245u + 12345u;
        size_t length = (seed >> 8) % 1200;
        for (size_t i = 0; i < length; ++i) {
            seed = seed * 1103515245u + 12345u;
            unsigned int r = seed >> 16;
            bytes +=
                r % 4 != 0 ? interesting[(r >> 2) % sizeof interesting] : static_cast<char>(r >> 4);
        }
        WriteFileBytes(path_, bytes);
        for (int deep = 0; deep < 2; ++deep) {
            int status = deep ? Lookup("NONE", "NONE", -1, path_) : Lookup("", "LOGIN", 0, path_);
            ASSERT_TRUE(status == CONFIG_FOUND || status == CONFIG_NOT_FOUND ||
                        status == CONFIG_MALFORMED);
            ASSERT_NE(std::memchr(ConfigValue, '\0', sizeof ConfigValue), nullptr);
            if (status == CONFIG_MALFORMED) {
                EXPECT_GE(ConfigErrorLine, 1);
                EXPECT_STREQ(ConfigValue, "");
            } else {
                EXPECT_EQ(ConfigErrorLine, 0);
            }
        }
    }
}

TEST(FindNthCharTest, FindsTheNthOccurrence) {
    struct Case {
        const char *text;
        char c;
        int n;
        int expected;
    };
    const Case cases[] = {
        {"a;b;c", ';', 1, 1}, {"a;b;c", ';', 2, 3}, {"a;b;c", ';', 3, 3},   {"a;b;c", ';', 0, 3},
        {";;", ';', 2, 1},    {";", ';', 2, 0},     {"abc", ';', 1, -1},    {"", ';', 1, -1},
        {"ab\n", '\n', 1, 2}, {"abc", '\0', 1, -1}, {"a;b;c;d", ';', 2, 3},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << '"' << c.text << "\" n=" << c.n);
        EXPECT_EQ(FindNthChar(c.text, c.c, c.n), c.expected);
    }
}

TEST(CopySubstringTest, CopiesWithinTextAndCapacity) {
    struct Case {
        const char *text;
        int start;
        int count;
        size_t capacity;
        int result;
        const char *expected;
    };
    const Case cases[] = {
        {"abcdef", 1, 3, 10, 1, "bcd"},
        {"abcdef", 2, 0, 10, 1, "cdef"},
        {"ab;\n", 2, 0, 10, 1, ";\n"},
        {"abcdef", 6, 0, 10, 1, ""},
        {"abcdef", 4, 9, 10, 1, "ef"},
        {"abcdef", 9, 2, 10, 1, ""},
        {"abcdef", 1, -1, 10, 1, "unchanged"},
        {"abcdef", 1, -7, 1, 1, "unchanged"},
        {"abcdef", 0, 5, 6, 1, "abcde"},
        {"abcdef", 0, 6, 6, 0, ""},
        {"abcdef", 0, 0, 7, 1, "abcdef"},
        {"abcdef", 0, 0, 6, 0, ""},
        {"abcdef", 3, 0, 3, 0, ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << '"' << c.text << "\" start=" << c.start
                                        << " count=" << c.count << " capacity=" << c.capacity);
        char dest[16];
        std::memset(dest, '#', sizeof dest);
        std::memcpy(dest, "unchanged", 10);
        EXPECT_EQ(CopySubstring(c.text, c.start, c.count, dest, c.capacity), c.result);
        EXPECT_STREQ(dest, c.expected);
        // Nothing beyond the capacity is touched.
        for (size_t i = std::max<size_t>(c.capacity, 10); i < sizeof dest; ++i) {
            EXPECT_EQ(dest[i], '#') << i;
        }
    }
}

} // namespace
