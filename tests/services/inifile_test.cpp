#include "services/inifile.h"
#include "support/seed.h"
#include "tempdir.h"

#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <set>
#include <unistd.h>

namespace longhand {
namespace {

using test::readBytes;
using test::TempDir;
using test::writeBytes;

constexpr int kBig = 256;

const std::string kSample = "; Longhand settings\n"
                            "[Text]\n"
                            "c=Combination\n"
                            "  Clear =   Press OK to go on.   \n"
                            "\tmove2\t=\tType 1 or 2\t\n"
                            "quoted=\"ends with a blank \"\n"
                            "single='x'\n"
                            "lone=\"\n"
                            "empty=\n"
                            "# hash=comment\n"
                            "; semi=comment\n"
                            "no equals sign\n"
                            "eq=a=b\n"
                            "dup=first\n"
                            "dup=second\n"
                            // UTF-8 of 2, 3 and 4 bytes; a lone 8-bit byte; a
                            // lead byte without its continuation.
                            "utf8=F\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80x\n"
                            "latin1=\xE4x\xB0y\xE2\x82\n"
                            "\n"
                            "[ Input Check ]\n"
                            "State=2\n"
                            "[text]\n"
                            "later=from the second Text section\n";

struct ReadCase {
    const char* section;
    const char* key;
    int size;
    const char* expected;
};

TEST(IniRead, MatchesNamesWithoutCaseTrimsAndCuts) {
    TempDir dir;
    const std::string path = dir.file("rcnt.vok");
    writeBytes(path, kSample);
    const ReadCase cases[] = {
        {"Text", "c", kBig, "Combination"},
        {"TEXT", "C", kBig, "Combination"},
        {"tExT", "clear", kBig, "Press OK to go on."},
        {"Text", "move2", kBig, "Type 1 or 2"},
        {"Input Check", "state", kBig, "2"},
        {"input check", "STATE", kBig, "2"},
        {"Text", "quoted", kBig, "ends with a blank "},
        {"Text", "single", kBig, "x"},
        {"Text", "lone", kBig, "\""},
        {"Text", "empty", kBig, ""},
        {"Text", "eq", kBig, "a=b"},
        {"Text", "dup", kBig, "first"},
        // Comment lines and lines without "=" hold no keys.
        {"Text", "# hash", kBig, "default"},
        {"Text", "; semi", kBig, "default"},
        {"Text", "no equals sign", kBig, "default"},
        // Only the first section of a name is searched.
        {"Text", "later", kBig, "default"},
        // Keys of another section are not found.
        {"Text", "State", kBig, "default"},
        {"Missing", "c", kBig, "default"},
        {"Text", "missing", kBig, "default"},
        // The read size counts the terminating zero of the platform call.
        {"Text", "c", 5, "Comb"},
        {"Text", "c", 12, "Combination"},
        {"Text", "c", 11, "Combinatio"},
        {"Text", "c", 1, ""},
        {"Text", "c", 0, ""},
        {"Text", "c", -3, ""},
        {"Text", "missing", 4, "def"},
        // Sizes count characters: a cut never splits a UTF-8 sequence.
        {"Text", "utf8", 2, "F"},
        {"Text", "utf8", 3, "F\xC3\xA4"},
        {"Text", "utf8", 4, "F\xC3\xA4\xE2\x82\xAC"},
        {"Text", "utf8", 5, "F\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80"},
        {"Text", "utf8", kBig, "F\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80x"},
        // Bytes that start no well-formed sequence count one each.
        {"Text", "latin1", 2, "\xE4"},
        {"Text", "latin1", 4, "\xE4x\xB0"},
        {"Text", "latin1", 6, "\xE4x\xB0y\xE2"},
        {"Text", "latin1", kBig, "\xE4x\xB0y\xE2\x82"},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(std::string(c.section) + "/" + c.key + " size " + std::to_string(c.size));
        EXPECT_EQ(readProfileString(c.section, c.key, "default", c.size, path), c.expected);
    }
}

TEST(IniRead, MissingOrUnreadableFileGivesTheDefault) {
    TempDir dir;
    EXPECT_EQ(readProfileString("Text", "c", "", kBig, dir.file("none.vok")), "");
    EXPECT_EQ(readProfileString("Text", "c", "dflt", kBig, dir.file("none.vok")), "dflt");
    EXPECT_EQ(readProfileString("Text", "c", "dflt", kBig, dir.path()), "dflt");
}

TEST(IniRead, CrLfLinesAndByteOrderMark) {
    TempDir dir;
    const std::string path = dir.file("rcnt.vok");
    writeBytes(path, "\xEF\xBB\xBF[Text]\r\nc = Combination \r\nf=Factorial");
    EXPECT_EQ(readProfileString("Text", "c", "", kBig, path), "Combination");
    EXPECT_EQ(readProfileString("Text", "f", "", kBig, path), "Factorial");
}

struct WriteCase {
    const char* name;
    const char* before;
    const char* section;
    const char* key;
    const char* value;
    const char* after;
};

TEST(IniWrite, ChangesOnlyTheValueOrAddsTheEntry) {
    const WriteCase cases[] = {
        {"new file", nullptr, "Input Check", "State", "2", "[Input Check]\nState=2\n"},
        {"empty file", "", "Sound Check", "State", "0", "[Sound Check]\nState=0\n"},
        {"value replaced, blanks and case kept", "; c\n[TEXT]\n  C =  old value  \nx=1\n", "Text",
         "c", "new", "; c\n[TEXT]\n  C =  new  \nx=1\n"},
        {"empty value filled", "[A]\nk=\n[B]\n", "a", "K", "7", "[A]\nk=7\n[B]\n"},
        {"value emptied", "[A]\nk=12\n", "A", "k", "", "[A]\nk=\n"},
        {"key added after the section's last entry", "[A]\nx=1\n; note\ny=2\n\n[B]\nz=3\n", "A",
         "k", "v", "[A]\nx=1\n; note\ny=2\nk=v\n\n[B]\nz=3\n"},
        {"key added to an empty section", "[A]\n[B]\nz=3\n", "A", "k", "v", "[A]\nk=v\n[B]\nz=3\n"},
        {"key added at the end without a final line end", "[A]\nx=1", "A", "k", "v",
         "[A]\nx=1\nk=v"},
        {"section added", "[A]\nx=1\n", "Recent Factorial", "Upper", "100",
         "[A]\nx=1\n\n[Recent Factorial]\nUpper=100\n"},
        {"section added after a last line without ending", "[A]\nx=1", "B", "k", "v",
         "[A]\nx=1\n\n[B]\nk=v\n"},
        {"CR LF kept on change", "[A]\r\nk=1\r\nj=2\r\n", "A", "k", "22", "[A]\r\nk=22\r\nj=2\r\n"},
        {"CR LF used for a new key", "[A]\r\nk=1\r\n\r\n[B]\r\n", "A", "n", "5",
         "[A]\r\nk=1\r\nn=5\r\n\r\n[B]\r\n"},
        {"CR LF used for a new section", "[A]\r\nk=1\r\n", "B", "n", "5",
         "[A]\r\nk=1\r\n\r\n[B]\r\nn=5\r\n"},
        {"only the first of two equal keys", "[A]\nk=1\nk=2\n", "A", "k", "3", "[A]\nk=3\nk=2\n"},
        {"only the first of two equal sections", "[A]\nk=1\n[A]\nj=2\n", "A", "j", "3",
         "[A]\nk=1\nj=3\n[A]\nj=2\n"},
        {"byte-order mark kept", "\xEF\xBB\xBF[A]\nk=1\n", "A", "k", "2", "\xEF\xBB\xBF[A]\nk=2\n"},
        {"unchanged value", "[A]\n k = 1 \n", "A", "k", "1", "[A]\n k = 1 \n"},
    };
    for (const WriteCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string path = dir.file("rcnt.vok");
        if (c.before) writeBytes(path, c.before);
        ASSERT_TRUE(writeProfileString(c.section, c.key, c.value, path));
        EXPECT_EQ(readBytes(path), c.after);
        EXPECT_EQ(readProfileString(c.section, c.key, "?", kBig, path), c.value);
        EXPECT_EQ(dir.entries(), std::vector<std::string>{"rcnt.vok"}) << "temporary file left";
    }
}

TEST(IniWrite, RefusesWhatWouldBreakTheLayout) {
    TempDir dir;
    const std::string path = dir.file("rcnt.vok");
    const std::string before = "[A]\nk=1\n";
    writeBytes(path, before);
    const WriteCase cases[] = {
        {"line break in value", nullptr, "A", "k", "1\n[B]", nullptr},
        {"carriage return in value", nullptr, "A", "k", "1\r", nullptr},
        {"equals sign in key", nullptr, "A", "k=j", "1", nullptr},
        {"key opening a section", nullptr, "A", "[k", "1", nullptr},
        {"key opening a comment", nullptr, "A", ";k", "1", nullptr},
        {"blank key", nullptr, "A", "  ", "1", nullptr},
        {"bracket in section", nullptr, "A]", "k", "1", nullptr},
        {"empty section", nullptr, "", "k", "1", nullptr},
        {"line break in section", nullptr, "A\nB", "k", "1", nullptr},
    };
    for (const WriteCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(writeProfileString(c.section, c.key, c.value, path));
        EXPECT_EQ(readBytes(path), before);
    }
}

TEST(IniWrite, ReplacesTheFileInOneRename) {
    TempDir dir;
    const std::string path = dir.file("rcnt.vok");
    writeBytes(path, "[A]\nk=1\n");
    const ino_t before = test::inodeOf(path);
    ASSERT_TRUE(writeProfileString("A", "k", "2", path));
    // A new file took the old one's name: the old bytes were never rewritten in place.
    EXPECT_NE(test::inodeOf(path), before);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"rcnt.vok"});
}

TEST(IniWrite, WritesThroughASymbolicLink) {
    TempDir dir;
    const std::string target = dir.file("real.vok");
    const std::string link = dir.file("rcnt.vok");
    writeBytes(target, "[A]\nk=1\n");
    std::filesystem::create_symlink(target, link);
    ASSERT_TRUE(writeProfileString("A", "k", "2", link));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(readBytes(target), "[A]\nk=2\n");
}

TEST(IniWrite, FailureLeavesEverythingAsItWas) {
    TempDir dir;
    // A folder that cannot exist: its parent is a regular file.
    writeBytes(dir.file("plain"), "x");
    EXPECT_FALSE(writeProfileString("A", "k", "1", dir.file("plain") + "/rcnt.vok"));
    EXPECT_EQ(readBytes(dir.file("plain")), "x");

    // Something that is there but is no readable file is never replaced.
    std::filesystem::create_directory(dir.file("folder.vok"));
    EXPECT_FALSE(writeProfileString("A", "k", "1", dir.file("folder.vok")));
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("folder.vok")));

    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"folder.vok", "plain"}));
}

TEST(IniWrite, ReadOnlyFileStaysAsItIs) {
    TempDir dir;
    const std::string path = dir.file("rcnt.vok");
    const std::string before = "[A]\nk=1\n";
    writeBytes(path, before);
    std::filesystem::permissions(path, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::group_read |
                                           std::filesystem::perms::others_read);
    const ino_t inode = test::inodeOf(path);
    EXPECT_FALSE(writeProfileString("A", "k", "2", path));
    EXPECT_FALSE(writeProfileString("B", "k", "2", path));
    EXPECT_EQ(readBytes(path), before);
    EXPECT_EQ(test::inodeOf(path), inode);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"rcnt.vok"});
}

TEST(IniWrite, ReadOnlyFolderKeepsTheFile) {
    if (::geteuid() == 0) GTEST_SKIP() << "running as root: permissions do not stop writes";
    TempDir dir;
    const std::string path = dir.file("rcnt.vok");
    const std::string before = "[A]\r\nk=1\r\n";
    writeBytes(path, before);
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_read |
                                                 std::filesystem::perms::owner_exec);
    EXPECT_FALSE(writeProfileString("A", "k", "2", path));
    EXPECT_FALSE(writeProfileString("B", "k", "2", path));
    EXPECT_EQ(readBytes(path), before);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"rcnt.vok"});
}

// Lines with their endings.
std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t nl = text.find('\n', pos);
        std::size_t next = nl == std::string::npos ? text.size() : nl + 1;
        lines.push_back(text.substr(pos, next - pos));
        pos = next;
    }
    return lines;
}

// Random files and random writes against a simple model of the entries:
// every write is seen by the next read, no other entry changes, and the file
// changes by exactly one line (a changed value or an added key) or grows by
// a new section at its end.
TEST(IniWrite, RandomWritesKeepEveryOtherByte) {
    const auto seed =
        static_cast<unsigned>(longhand::test::testSeed("IniWrite.RandomWritesKeepEveryOtherByte"));
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 rng(seed);
    const char* sections[] = {"Text", "Input Check", "Sound Check", "Recent Factorial"};
    const char* keys[] = {"c", "State", "Upper", "move1", "instruct3"};
    auto pick = [&](auto& list) { return std::string(list[rng() % std::size(list)]); };
    auto randomCase = [&](std::string s) {
        for (char& ch : s)
            if (rng() % 2) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        return s;
    };

    for (int round = 0; round < 40; ++round) {
        TempDir dir;
        const std::string path = dir.file("rcnt.vok");
        std::string eol = (rng() % 2) ? "\r\n" : "\n";
        std::map<std::pair<std::string, std::string>, std::string> model;
        std::set<std::string> present;
        std::string text = "; header" + eol;
        for (const char* s : sections) {
            if (rng() % 3 == 0) continue;
            present.insert(s);
            text += "[" + std::string(s) + "]" + eol;
            for (const char* k : keys) {
                if (rng() % 2) continue;
                const std::string v = std::to_string(rng() % 1000);
                text += "  " + std::string(k) + " = " + v + eol;
                model[{s, k}] = v;
            }
            if (rng() % 2) text += "; end of " + std::string(s) + eol + eol;
        }
        if (rng() % 2) text.resize(text.size() - eol.size()); // no final line end
        // A file without any line end gets the usual "\n".
        if (text.find('\n') == std::string::npos) eol = "\n";
        writeBytes(path, text);

        for (int step = 0; step < 12; ++step) {
            const std::string s = pick(sections), k = pick(keys);
            const std::string v = std::to_string(rng() % 100000);
            const bool keyExisted = model.count({s, k}) > 0;
            const bool sectionExisted = present.count(s) > 0;
            SCOPED_TRACE("write " + s + "/" + k + "=" + v);
            ASSERT_TRUE(writeProfileString(randomCase(s), randomCase(k), v, path));
            model[{s, k}] = v;
            present.insert(s);

            for (const char* rs : sections)
                for (const char* rk : keys) {
                    auto it = model.find({rs, rk});
                    EXPECT_EQ(readProfileString(rs, rk, "-", kBig, path),
                              it == model.end() ? "-" : it->second)
                        << rs << "/" << rk;
                }

            const std::string now = readBytes(path);
            const std::vector<std::string> before = linesOf(text), after = linesOf(now);
            if (keyExisted) {
                ASSERT_EQ(after.size(), before.size());
                int changed = 0;
                for (std::size_t i = 0; i < before.size(); ++i)
                    changed += before[i] != after[i];
                EXPECT_LE(changed, 1);
            } else if (sectionExisted) {
                ASSERT_EQ(after.size(), before.size() + 1);
                bool found = false;
                for (std::size_t i = 0; i < after.size() && !found; ++i) {
                    std::vector<std::string> without = after;
                    without.erase(without.begin() + static_cast<std::ptrdiff_t>(i));
                    // The old last line may have gained a line end before the new one.
                    if (!without.empty() && !before.empty() && i + 1 == after.size() &&
                        without.back() == before.back() + eol)
                        without.back() = before.back();
                    found = without == before;
                }
                EXPECT_TRUE(found) << "not one added line:\n" << now;
            } else {
                EXPECT_EQ(now.compare(0, text.size(), text), 0) << "old bytes changed:\n" << now;
            }
            // Every line end is the file's own kind.
            for (std::size_t nl = now.find('\n'); nl != std::string::npos;
                 nl = now.find('\n', nl + 1))
                EXPECT_EQ(nl > 0 && now[nl - 1] == '\r', eol == "\r\n") << "line end at " << nl;
            text = now;
        }
    }
}

} // namespace
} // namespace longhand
