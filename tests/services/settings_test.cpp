// The entries of the settings file the windows read and write, each test on
// a settings file of its own; and the delivered files beside the program.
#include "services/inifile.h"
#include "services/paths.h"
#include "services/settings.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>
#include <tuple>

namespace longhand {
namespace {

using test::readBytes;
using test::TempDir;

class Settings : public ::testing::Test {
  protected:
    void SetUp() override { setAppFolder(dir_.path()); }
    void TearDown() override { setAppFolder("/nonexistent-longhand-folder"); }
    std::string settingsPath() const { return dir_.file("rcnt.vok"); }
    void store(const std::string& text) { test::writeBytes(settingsPath(), text); }

    TempDir dir_;
};

// Entries are cut to their reader's length, 19 for 0, at most 255, counted
// in characters; a missing or blank entry gives the delivered text, so no
// edit of the file leaves a window without its words.
TEST_F(Settings, TextEntriesAreCutOrDelivered) {
    const std::string ae = "\xC3\xA4"; // two bytes, one character
    struct Case {
        std::string file; // "": no settings file
        const char* key;
        int maxLen;
        std::string expected;
    } const cases[] = {
        {"[Text]\nc=abcdefghijklmnopqrstuvwxy\n", "c", 0, "abcdefghijklmnopqrs"},
        {"[Text]\nc=abcdefghijklmnopqrstuvwxy\n", "C", 24, "abcdefghijklmnopqrstuvwx"},
        {"[Text]\nc=abcdefghijklmnopqrstuvwxy\n", "c", -5, "abcdefghijklmnopqrs"},
        {"[Text]\nlong=" + std::string(300, 'z') + "\n", "long", 1000, std::string(255, 'z')},
        {"[Text]\nf=\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\n", "f", 3, ae + ae + ae},
        {"", "f", 0, "Factorial"},
        {"[Text]\nf= \t \n", "F", 0, "Factorial"},
        {"[Text]\nf=\"   \"\n", "f", 0, "Factorial"},
        {"[Text]\nf=Fakultaet\n", "f", 0, "Fakultaet"},
        {"", "Clear", 17, "m(m+1)(m+2)...(n)"},
        {"", "nosuchkey", 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file + " " + c.key);
        std::filesystem::remove(settingsPath());
        if (!c.file.empty()) store(c.file);
        EXPECT_EQ(readTextEntry(c.key, c.maxLen), c.expected);
    }
}

TEST_F(Settings, NoFileMeansTheStartStates) {
    EXPECT_EQ(readInputCheckState(), 0);
    EXPECT_EQ(readSoundState(), 0);
    EXPECT_EQ(readLargestStored(), "");
    EXPECT_FALSE(std::filesystem::exists(settingsPath())) << "a read created the file";
}

TEST_F(Settings, StatesAreJudgedByTheirFirstCharacter) {
    const std::pair<const char*, int> cases[] = {{"2", 2}, {"10", 1}, {"9", 9},  {" 2 ", 2},
                                                 {"", 0},  {"x", 0},  {"-1", 0}, {"\"1\"", 1}};
    for (const auto& [stored, expected] : cases) {
        SCOPED_TRACE(std::string("stored '") + stored + "'");
        store(std::string("[Input Check]\nState=") + stored + "\n[Sound Check]\nState=" + stored +
              "\n");
        EXPECT_EQ(readInputCheckState(), expected);
        EXPECT_EQ(readSoundState(), expected);
    }
}

// The history is kept unless switched off, within 500 MB unless another
// whole number of megabytes is set (0: no limit).
TEST_F(Settings, HistoryOptions) {
    EXPECT_TRUE(readKeepHistory());
    EXPECT_EQ(readHistoryLimitBytes(), 500'000'000u);
    const std::tuple<const char*, const char*, bool, std::uint64_t> cases[] = {
        {"0", "20", false, 20'000'000}, {"1", "0", true, 0},
        {"x", "-5", true, 500'000'000}, {"0", "12x", false, 500'000'000},
        {"", "", true, 500'000'000},    {"1", "999999999", true, 999'999'999'000'000},
    };
    for (const auto& [keep, limit, kept, bytes] : cases) {
        SCOPED_TRACE(std::string(keep) + " " + limit);
        store(std::string("[History]\nKeep=") + keep + "\nSize Limit MB=" + limit + "\n");
        EXPECT_EQ(readKeepHistory(), kept);
        EXPECT_EQ(readHistoryLimitBytes(), bytes);
    }
    ASSERT_TRUE(writeKeepHistory(true));
    EXPECT_TRUE(readKeepHistory());
    ASSERT_TRUE(writeKeepHistory(false));
    EXPECT_FALSE(readKeepHistory());
}

TEST_F(Settings, WritesChangeTheirOwnEntryAndNothingElse) {
    const std::string delivered = "; texts\r\n[Text]\r\nc=Combination\r\n";
    store(delivered);
    ASSERT_TRUE(writeInputCheckState("2"));
    ASSERT_TRUE(writeSoundState("1"));
    ASSERT_TRUE(writeLargestStored("100"));
    ASSERT_TRUE(writeInputCheckState("1"));
    EXPECT_EQ(readBytes(settingsPath()),
              delivered + "\r\n[Input Check]\r\nState=1\r\n\r\n[Sound Check]\r\nState=1\r\n\r\n"
                          "[Recent Factorial]\r\nUpper=100\r\n");
    // Every read goes to the file.
    EXPECT_EQ(readInputCheckState(), 1);
    std::filesystem::remove(settingsPath());
    EXPECT_EQ(readInputCheckState(), 0);
}

TEST_F(Settings, AFailedWriteIsReported) {
    // The app folder is a path below a regular file: nothing can be written.
    test::writeBytes(dir_.file("plain"), "x");
    setAppFolder(dir_.file("plain"));
    EXPECT_FALSE(writeInputCheckState("2"));
    EXPECT_EQ(readInputCheckState(), 0);
    EXPECT_EQ(readBytes(dir_.file("plain")), "x");
}

// The delivered settings file beside the executable: every text the windows
// read is there, fits its read size and is the one that stands in for a
// lost text; no option state is delivered.
TEST(DeliveredFiles, TheSettingsFileHoldsEveryText) {
    const std::string path = executableFolder() + "/rcnt.vok";
    ASSERT_TRUE(std::filesystem::is_regular_file(path));
    const std::pair<const char*, int> entries[] = {
        {"c", 19},         {"f", 19},         {"p", 19},         {"w", 19},
        {"Clear", 128},    {"instruct1", 47}, {"instruct2", 49}, {"instruct3", 75},
        {"instruct4", 51}, {"instruct5", 79}, {"1to100", 32},    {"facSave", 47},
        {"move1", 29},     {"move2", 16},     {"move3", 91},
    };
    for (const auto& [key, limit] : entries) {
        SCOPED_TRACE(key);
        const std::string text = readProfileString("Text", key, "", 1024, path);
        EXPECT_FALSE(text.empty());
        EXPECT_EQ(text, deliveredText(key));
        EXPECT_LE(static_cast<int>(text.size()), limit);
    }
    for (const char* section : {"Input Check", "Sound Check", "Recent Factorial"})
        for (const char* key : {"State", "Upper"})
            EXPECT_EQ(readProfileString(section, key, "none", 1024, path), "none");
}

} // namespace
} // namespace longhand
