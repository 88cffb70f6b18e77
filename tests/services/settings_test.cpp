#include "services/inifile.h"
#include "services/paths.h"
#include "services/settings.h"
#include "tempdir.h"

#include <gtest/gtest.h>

namespace longhand {
namespace {

using test::readBytes;
using test::TempDir;
using test::writeBytes;

// Every test works on a settings file of its own.
class Settings : public ::testing::Test {
  protected:
    void SetUp() override { setAppFolder(dir_.path()); }
    void TearDown() override { setAppFolder("/nonexistent-longhand-folder"); }
    std::string settingsPath() const { return dir_.file("rcnt.vok"); }
    void store(const std::string& text) { writeBytes(settingsPath(), text); }

    TempDir dir_;
};

TEST_F(Settings, TextEntriesAreCutToTheirLimit) {
    const std::string v25 = "abcdefghijklmnopqrstuvwxy";
    const std::string v300(300, 'z');
    store("[Text]\nc=" + v25 + "\nClear=" + v25 + "\nlong=" + v300 + "\nempty=\n");
    struct Case {
        const char* key;
        int maxLen;
        std::string expected;
    } cases[] = {
        {"c", 0, v25.substr(0, 19)},
        {"c", 19, v25.substr(0, 19)},
        {"c", 24, v25.substr(0, 24)},
        {"Clear", 128, v25},
        {"CLEAR", 25, v25},
        {"long", 255, v300.substr(0, 255)},
        {"long", 1000, v300.substr(0, 255)},
        {"long", -5, v300.substr(0, 19)},
        {"empty", 0, ""},
        {"missing", 128, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key) + " " + std::to_string(c.maxLen));
        EXPECT_EQ(readTextEntry(c.key, c.maxLen), c.expected);
    }
}

// Whatever happened to the file, a window gets words: a missing or blank
// entry gives the delivered text, cut to the reader's size by characters; a
// text the person wrote stays theirs.
TEST_F(Settings, MissingOrBlankTextsGiveTheDeliveredOnes) {
    struct Case {
        const char* file; // null: no settings file
        const char* key;
        int maxLen;
        std::string expected;
    } cases[] = {
        {nullptr, "f", 0, "Factorial"},
        {"", "w", 0, "Power"},
        {"[Input Check]\nState=2\n", "p", 0, "Permutation"},
        {"[Text]\n", "c", 0, "Combination"},
        {"[Text]\nf=\n", "f", 0, "Factorial"},
        {"[Text]\nf= \t \n", "F", 0, "Factorial"},
        {"[Text]\nf=\"   \"\n", "f", 0, "Factorial"},
        {"[Text]\nf=''\n", "f", 19, "Factorial"},
        {"[Text]\nf=Fakultaet\n", "f", 0, "Fakultaet"},
        {"[Text]\nw=\"Power \"\n", "w", 0, "Power "},
        {nullptr, "Clear", 17, "m(m+1)(m+2)...(n)"},
        {nullptr, "facSave", 47, "Keep this factorial in the store? n = "},
        {nullptr, "move3", 91, std::string(deliveredText("move3"))},
        {nullptr, "nosuchkey", 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file ? c.file : "(no file)") + " " + c.key);
        std::filesystem::remove(settingsPath());
        if (c.file) store(c.file);
        EXPECT_EQ(readTextEntry(c.key, c.maxLen), c.expected);
    }
}

TEST_F(Settings, TextEntriesAreCutByCharactersNeverInsideOne) {
    const std::string ae = "\xC3\xA4"; // a-umlaut, two bytes
    const std::string euro = "\xE2\x82\xAC";
    std::string twenty;
    for (int i = 0; i < 20; ++i)
        twenty += ae;
    store("[Text]\nc=" + std::string(18, 'x') + ae + "y\nf=" + twenty + "\nw=" + euro + euro +
          "\n");
    EXPECT_EQ(readTextEntry("c", 0), std::string(18, 'x') + ae);
    EXPECT_EQ(readTextEntry("f", 0), twenty.substr(0, 19 * ae.size()));
    EXPECT_EQ(readTextEntry("f", 3), ae + ae + ae);
    EXPECT_EQ(readTextEntry("w", 1), euro);
}

TEST_F(Settings, NoFileMeansDeliveredTextsAndStartStates) {
    EXPECT_EQ(readTextEntry("f", 0), "Factorial");
    EXPECT_EQ(readInputCheckState(), 0);
    EXPECT_EQ(readSoundState(), 0);
    EXPECT_EQ(readFacUpper(), "0");
    EXPECT_FALSE(std::filesystem::exists(settingsPath())) << "a read created the file";
}

TEST_F(Settings, StatesAreJudgedByTheirFirstCharacter) {
    struct Case {
        const char* stored;
        int expected;
    } cases[] = {
        {"2", 2},   {"1", 1}, {"0", 0}, {"10", 1}, {"21", 2}, {"9", 9},
        {" 2 ", 2}, {"", 0},  {"x", 0}, {"-1", 0}, {".5", 0}, {"\"1\"", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("stored '") + c.stored + "'");
        store(std::string("[Input Check]\nState=") + c.stored +
              "\n[Sound Check]\nState=" + c.stored + "\n");
        EXPECT_EQ(readInputCheckState(), c.expected);
        EXPECT_EQ(readSoundState(), c.expected);
    }
}

TEST_F(Settings, UpperGoesThroughADouble) {
    struct Case {
        const char* stored;
        const char* expected;
    } cases[] = {
        {"100", "100"},
        {"007", "7"},
        {"5.0", "5"},
        {"", "0"},
        {"abc", "0"},
        {"12abc", "12"},
        {"999999999999999", "999999999999999"},
        // Only 16 characters are read: the 17th digit is lost.
        {"12345678901234567", "1.23456789012346E+15"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("stored '") + c.stored + "'");
        store(std::string("[recent factorial]\nupper=") + c.stored + "\n");
        EXPECT_EQ(readFacUpper(), c.expected);
    }
    store("[Text]\nc=Combination\n");
    EXPECT_EQ(readFacUpper(), "0");
}

TEST_F(Settings, WritesGoToTheirOwnSectionAndKey) {
    ASSERT_TRUE(writeInputCheckState("2"));
    ASSERT_TRUE(writeSoundState("1"));
    ASSERT_TRUE(writeFacUpper("100"));
    EXPECT_EQ(
        readBytes(settingsPath()),
        "[Input Check]\nState=2\n\n[Sound Check]\nState=1\n\n[Recent Factorial]\nUpper=100\n");
    EXPECT_EQ(readInputCheckState(), 2);
    EXPECT_EQ(readSoundState(), 1);
    EXPECT_EQ(readFacUpper(), "100");

    // A second write changes just that value.
    ASSERT_TRUE(writeInputCheckState("1"));
    ASSERT_TRUE(writeFacUpper("57"));
    EXPECT_EQ(readBytes(settingsPath()),
              "[Input Check]\nState=1\n\n[Sound Check]\nState=1\n\n[Recent Factorial]\nUpper=57\n");
}

TEST_F(Settings, DeliveredTextsSurviveStateWrites) {
    const std::string delivered = "; texts\r\n[Text]\r\nc=Combination\r\nmove2=1 = upper box\r\n";
    store(delivered);
    ASSERT_TRUE(writeSoundState("0"));
    EXPECT_EQ(readBytes(settingsPath()), delivered + "\r\n[Sound Check]\r\nState=0\r\n");
    EXPECT_EQ(readTextEntry("move2", 16), "1 = upper box");
}

TEST_F(Settings, EveryReadGoesToTheFile) {
    store("[Sound Check]\nState=0\n");
    EXPECT_EQ(readSoundState(), 0);
    store("[Sound Check]\nState=1\n");
    EXPECT_EQ(readSoundState(), 1);
    std::filesystem::remove(settingsPath());
    EXPECT_EQ(readSoundState(), 0);
}

TEST_F(Settings, FailedWriteIsReported) {
    // The app folder is a path below a regular file: nothing can be written.
    writeBytes(dir_.file("plain"), "x");
    setAppFolder(dir_.file("plain"));
    EXPECT_FALSE(writeInputCheckState("2"));
    EXPECT_EQ(readInputCheckState(), 0);
    EXPECT_EQ(readBytes(dir_.file("plain")), "x");
}

// The delivered settings file beside the executable: every text the windows
// read is there and fits its read size; the four mode words are exact.
TEST(DeliveredFiles, SettingsFileHoldsEveryText) {
    const std::string path = executableFolder() + "/rcnt.vok";
    ASSERT_TRUE(std::filesystem::is_regular_file(path));
    struct Entry {
        const char* key;
        int limit;
    } entries[] = {
        {"c", 19},         {"f", 19},         {"p", 19},         {"w", 19},
        {"Clear", 128},    {"instruct1", 47}, {"instruct2", 49}, {"instruct3", 75},
        {"instruct4", 51}, {"instruct5", 79}, {"1to100", 32},    {"facSave", 47},
        {"move1", 29},     {"move2", 16},     {"move3", 91},
    };
    constexpr int kWhole = 1024;
    for (const Entry& e : entries) {
        SCOPED_TRACE(e.key);
        const std::string text = readProfileString("Text", e.key, "", kWhole, path);
        EXPECT_FALSE(text.empty());
        // What stands in for a lost text is this one, word for word.
        EXPECT_EQ(text, deliveredText(e.key));
        EXPECT_LE(static_cast<int>(text.size()), e.limit);
        EXPECT_EQ(text.find_first_of("\r\n\t"), std::string::npos);
    }
    EXPECT_EQ(readProfileString("Text", "c", "", kWhole, path), "Combination");
    EXPECT_EQ(readProfileString("Text", "f", "", kWhole, path), "Factorial");
    EXPECT_EQ(readProfileString("Text", "p", "", kWhole, path), "Permutation");
    EXPECT_EQ(readProfileString("Text", "w", "", kWhole, path), "Power");
    // The question is followed directly by n, so it ends with a blank.
    EXPECT_EQ(readProfileString("Text", "facSave", "", kWhole, path).back(), ' ');
    // No option state is delivered: a fresh copy starts with the defaults.
    for (const char* section : {"Input Check", "Sound Check", "Recent Factorial"})
        for (const char* key : {"State", "Upper"})
            EXPECT_EQ(readProfileString(section, key, "none", kWhole, path), "none")
                << section << "/" << key;
}

TEST(DeliveredFiles, HelpTextAndChime) {
    const std::string folder = executableFolder();
    const std::string help = readBytes(folder + "/cphelp.vok");
    EXPECT_GT(help.size(), 1000u);
    for (const char* topic :
         {"Add", "Subtract", "Multiply", "Divide", "Factorial", "Power", "Permutation",
          "Combination", "m(m+1)(m+2)...(n)", "Move", "Click To Round.", "Input-checking",
          "Sound When Finished", "Generate 1! to 100!", "facDat.vok", "Stop Sound"})
        EXPECT_NE(help.find(topic), std::string::npos) << topic;
    for (unsigned char ch : help)
        ASSERT_TRUE(ch == '\n' || (ch >= 0x20 && ch < 0x7f)) << "not plain ASCII: " << int(ch);

    // A plain PCM wave file, small enough to ship.
    const std::string wav = readBytes(folder + "/1.wav");
    ASSERT_GT(wav.size(), 44u);
    EXPECT_LT(wav.size(), 100u * 1024u);
    EXPECT_EQ(wav.substr(0, 4), "RIFF");
    EXPECT_EQ(wav.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(wav[20], 1) << "not PCM";
    EXPECT_EQ(wav.substr(36, 4), "data");
}

} // namespace
} // namespace longhand
