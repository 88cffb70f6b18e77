// Single keys of an INI-format file read and written, byte for byte.
#include "services/inifile.h"
#include "support/seed.h"
#include "support/tempdir.h"

#include <algorithm>
#include <array>
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

TEST(IniRead, MatchesNamesWithoutCaseTrimsUnquotesAndCuts) {
    TempDir dir;
    const std::string path = dir.file("rcnt.vok");
    writeBytes(path, "\xEF\xBB\xBF; Longhand settings\r\n"
                     "[Text]\r\n"
                     "  Clear =   Press OK.   \r\n"
                     "quoted=\"ends with a blank \"\n"
                     "# hash=comment\n"
                     "eq=a=b\n"
                     "dup=first\n"
                     "dup=second\n"
                     "utf8=F\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80x\n"
                     "latin1=\xE4x\xB0y\n"
                     "[ Input Check ]\n"
                     "State=2\n"
                     "[text]\n"
                     "later=from the second Text section\n");
    struct Case {
        const char* section;
        const char* key;
        int size;
        const char* expected;
    } const cases[] = {
        {"tExT", "clear", kBig, "Press OK."},
        {"input check", "STATE", kBig, "2"},
        {"Text", "quoted", kBig, "ends with a blank "},
        {"Text", "eq", kBig, "a=b"},
        {"Text", "dup", kBig, "first"},
        // Comments hold no keys, only a section's first copy is searched,
        // and another section's keys are not found.
        {"Text", "# hash", kBig, "default"},
        {"Text", "later", kBig, "default"},
        {"Missing", "Clear", kBig, "default"},
        // The size counts a terminating zero, and characters, never
        // splitting a UTF-8 sequence; a stray byte counts one.
        {"Text", "Clear", 6, "Press"},
        {"Text", "missing", 4, "def"},
        {"Text", "utf8", 3, "F\xC3\xA4"},
        {"Text", "utf8", 5, "F\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80"},
        {"Text", "latin1", 4, "\xE4x\xB0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.section) + "/" + c.key + " size " + std::to_string(c.size));
        EXPECT_EQ(readProfileString(c.section, c.key, "default", c.size, path), c.expected);
    }
    EXPECT_EQ(readProfileString("Text", "c", "dflt", kBig, dir.file("none.vok")), "dflt");
    EXPECT_EQ(readProfileString("Text", "c", "dflt", kBig, dir.path()), "dflt");
}

// What the random writes below do not reach: the spelling and blanks of a
// changed line, a byte-order mark, repeated names, an empty value.
TEST(IniWrite, ChangesOnlyTheValueOrAddsTheEntry) {
    struct Case {
        const char* before; // null: no file
        const char* section;
        const char* key;
        const char* value;
        const char* after;
    } const cases[] = {
        {nullptr, "Input Check", "State", "2", "[Input Check]\nState=2\n"},
        {"; c\n[TEXT]\n  C =  old value  \nx=1\n", "Text", "c", "new",
         "; c\n[TEXT]\n  C =  new  \nx=1\n"},
        {"[A]\nk=12\n", "A", "k", "", "[A]\nk=\n"},
        {"[A]\nx=1\n; note\ny=2\n\n[B]\n", "A", "k", "v", "[A]\nx=1\n; note\ny=2\nk=v\n\n[B]\n"},
        {"[A]\nk=1\nk=2\n[A]\nj=2\n", "A", "k", "3", "[A]\nk=3\nk=2\n[A]\nj=2\n"},
        {"\xEF\xBB\xBF[A]\r\nk=1\r\n", "B", "n", "5",
         "\xEF\xBB\xBF[A]\r\nk=1\r\n\r\n[B]\r\nn=5\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.after);
        TempDir dir;
        const std::string path = dir.file("rcnt.vok");
        if (c.before) writeBytes(path, c.before);
        ASSERT_TRUE(writeProfileString(c.section, c.key, c.value, path));
        EXPECT_EQ(readBytes(path), c.after);
        EXPECT_EQ(dir.entries(), std::vector<std::string>{"rcnt.vok"}) << "temporary file left";
    }
}

// A value a read would trim or unquote goes in quotes, names are matched
// without their blanks, and a second write of the same value changes
// nothing.
TEST(IniWrite, EveryValueReadsBackAsWritten) {
    struct Case {
        const char* before;
        const char *section, *key, *value;
        const char* after;
    } const cases[] = {
        {"", "A", "c", "\ta", "[A]\nc=\"\ta\"\n"},
        {"[A]\nc=1\n", "A", "c", "x ", "[A]\nc=\"x \"\n"},
        {"[A]\nc=1\n", "A", "c", "'q'", "[A]\nc=\"'q'\"\n"},
        {"[A]\nc=1\n", " A", "\tc ", "2", "[A]\nc=2\n"},
        {"", "Aa", "\ta", "", "[Aa]\n\ta=\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.after);
        TempDir dir;
        const std::string path = dir.file("rcnt.vok");
        writeBytes(path, c.before);
        ASSERT_TRUE(writeProfileString(c.section, c.key, c.value, path));
        EXPECT_EQ(readBytes(path), c.after);
        EXPECT_EQ(readProfileString(c.section, c.key, "default", kBig, path), c.value);
        ASSERT_TRUE(writeProfileString(c.section, c.key, c.value, path));
        EXPECT_EQ(readBytes(path), c.after);
    }
}

// A last line that ends in a lone CR keeps it as part of its value when a
// line is added after it.
TEST(IniWrite, ALoneCarriageReturnAtTheEndStaysInItsValue) {
    for (const char* section : {"A", "B"}) {
        SCOPED_TRACE(section);
        TempDir dir;
        const std::string path = dir.file("rcnt.vok");
        writeBytes(path, "[A]\nk=x\r");
        ASSERT_TRUE(writeProfileString(section, "n", "5", path));
        EXPECT_EQ(readProfileString("A", "k", "default", kBig, path), "x\r");
        EXPECT_EQ(readProfileString(section, "n", "default", kBig, path), "5");
    }
}

TEST(IniWrite, RefusesWhatWouldBreakTheLayout) {
    TempDir dir;
    const std::string path = dir.file("rcnt.vok");
    writeBytes(path, "[A]\nk=1\n");
    const std::array<std::array<const char*, 3>, 6> cases = {{{"A", "k", "1\n[B]"},
                                                              {"A", "k=j", "1"},
                                                              {"A", "[k", "1"},
                                                              {"A", "  ", "1"},
                                                              {"A]", "k", "1"},
                                                              {"", "k", "1"}}};
    for (const auto& [section, key, value] : cases)
        EXPECT_FALSE(writeProfileString(section, key, value, path)) << section << "/" << key;
    EXPECT_EQ(readBytes(path), "[A]\nk=1\n");
}

// A new file takes the old one's name (through a symbolic link, the
// target's): the old bytes are never rewritten in place.
TEST(IniWrite, ReplacesTheFileInOneRename) {
    TempDir dir;
    const std::string target = dir.file("real.vok");
    writeBytes(target, "[A]\nk=1\n");
    std::filesystem::create_symlink(target, dir.file("rcnt.vok"));
    const ino_t before = test::inodeOf(target);
    ASSERT_TRUE(writeProfileString("A", "k", "2", dir.file("rcnt.vok")));
    EXPECT_NE(test::inodeOf(target), before);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("rcnt.vok")));
    EXPECT_EQ(readBytes(target), "[A]\nk=2\n");
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"rcnt.vok", "real.vok"}));
}

TEST(IniWrite, AFailureLeavesEverythingAsItWas) {
    TempDir dir;
    // A folder that cannot exist: its parent is a regular file.
    writeBytes(dir.file("plain"), "x");
    EXPECT_FALSE(writeProfileString("A", "k", "1", dir.file("plain") + "/rcnt.vok"));
    // Something that is there but is no readable file is never replaced.
    std::filesystem::create_directory(dir.file("folder.vok"));
    EXPECT_FALSE(writeProfileString("A", "k", "1", dir.file("folder.vok")));
    // A read-only file stays as it is.
    const std::string path = dir.file("rcnt.vok");
    writeBytes(path, "[A]\nk=1\n");
    std::filesystem::permissions(path, std::filesystem::perms::owner_read);
    const ino_t inode = test::inodeOf(path);
    EXPECT_FALSE(writeProfileString("A", "k", "2", path));
    EXPECT_FALSE(writeProfileString("B", "k", "2", path));
    EXPECT_EQ(readBytes(path), "[A]\nk=1\n");
    EXPECT_EQ(test::inodeOf(path), inode);
    EXPECT_EQ(readBytes(dir.file("plain")), "x");
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"folder.vok", "plain", "rcnt.vok"}));
}

TEST(IniWrite, AReadOnlyFolderKeepsTheFile) {
    if (::geteuid() == 0) GTEST_SKIP() << "running as root: permissions do not stop writes";
    TempDir dir;
    const std::string path = dir.file("rcnt.vok");
    writeBytes(path, "[A]\r\nk=1\r\n");
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_read |
                                                 std::filesystem::perms::owner_exec);
    EXPECT_FALSE(writeProfileString("A", "k", "2", path));
    EXPECT_EQ(readBytes(path), "[A]\r\nk=1\r\n");
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"rcnt.vok"});
}

// Random files and random writes against a model of the entries: every
// write is seen by the next read, no other entry changes, the file grows by
// at most one line or one new section at its end, and every line end stays
// the file's own kind.
TEST(IniWrite, RandomWritesKeepEveryOtherByte) {
    const auto seed =
        static_cast<unsigned>(test::testSeed("IniWrite.RandomWritesKeepEveryOtherByte"));
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
    auto lines = [](const std::string& text) {
        std::vector<std::string> out;
        for (std::size_t pos = 0, next; pos < text.size(); pos = next) {
            next = std::min(text.find('\n', pos), text.size() - 1) + 1;
            out.push_back(text.substr(pos, next - pos));
        }
        return out;
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
                model[{s, k}] = std::to_string(rng() % 1000);
                text += "  " + std::string(k) + " = " + model[{s, k}] + eol;
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
                              it == model.end() ? "-" : it->second);
                }
            const std::string now = readBytes(path).value_or("");
            const std::vector<std::string> before = lines(text), after = lines(now);
            if (keyExisted) {
                ASSERT_EQ(after.size(), before.size());
                int changed = 0;
                for (std::size_t i = 0; i < before.size(); ++i)
                    changed += before[i] != after[i];
                EXPECT_LE(changed, 1);
            } else if (sectionExisted) {
                EXPECT_EQ(after.size(), before.size() + 1);
            } else {
                EXPECT_EQ(now.compare(0, text.size(), text), 0) << "old bytes changed:\n" << now;
            }
            for (std::size_t nl = now.find('\n'); nl != std::string::npos;
                 nl = now.find('\n', nl + 1))
                EXPECT_EQ(nl > 0 && now[nl - 1] == '\r', eol == "\r\n") << "line end at " << nl;
            text = now;
        }
    }
}

} // namespace
} // namespace longhand
