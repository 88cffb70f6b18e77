// A number read from a file: what is dropped, what is refused, and how the
// reading goes across chunks, with its progress and Cancel.
#include "core/filetext.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>
#include <string>

namespace longhand {
namespace {

using Status = NumberFile::Status;
constexpr std::size_t kNoLimit = std::size_t{1} << 40;

NumberFile readBack(const std::string& bytes, std::size_t limit = kNoLimit) {
    test::TempDir dir;
    test::writeBytes(dir.file("n.txt"), bytes);
    Progress progress;
    return readNumberFile(dir.file("n.txt"), limit, progress);
}

TEST(NumberFile, FillersDropCommasAndOtherBytesRefuse) {
    const struct {
        std::string bytes;
        Status status;
        const char* text;
        std::size_t limit = kNoLimit;
    } cases[] = {
        {"12 345_678\r\n.9\t\n", Status::Number, "12345678.9"},
        {"\xef\xbb\xbf-0.5\n", Status::Number, "-0.5"}, // a byte-order mark first
        {"1,5", Status::NotNumber, ""},                 // a decimal comma is not misread
        {"1.2.3", Status::NotNumber, ""},
        {"5-", Status::NotNumber, ""},
        {"12a", Status::NotNumber, ""},
        {std::string("1\0", 2), Status::NotNumber, ""},
        {" \n", Status::NotNumber, ""}, // nothing left
        {"-.", Status::NotNumber, ""},  // no digit
        {"1 2 3", Status::Number, "123", 3},
        {"1234", Status::TooLong, "", 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        const NumberFile file = readBack(c.bytes, c.limit);
        EXPECT_EQ(file.status, c.status);
        EXPECT_EQ(file.text, c.text);
    }
    Progress progress;
    const NumberFile missing = readNumberFile("/nonexistent/n.txt", kNoLimit, progress);
    EXPECT_EQ(missing.status, Status::CannotRead);
    EXPECT_EQ(missing.reason, "No such file or directory");
}

TEST(NumberFile, ReadsAcrossChunksReportingProgressAndStopsWhenCancelled) {
    // Fillers on both sides of the chunk boundaries.
    std::string bytes, digits;
    for (std::size_t i = 0; bytes.size() < 2 * kFileReadChunk + 100; ++i) {
        const char d = static_cast<char>('0' + i % 10);
        bytes += d;
        digits += d;
        if (i % 7 == 6) bytes += i % 2 ? "\r\n" : "_";
    }
    test::TempDir dir;
    test::writeBytes(dir.file("n.txt"), bytes);
    Progress progress;
    const NumberFile file = readNumberFile(dir.file("n.txt"), kNoLimit, progress);
    EXPECT_EQ(file.status, Status::Number);
    EXPECT_TRUE(file.text == digits);
    EXPECT_EQ(progress.fraction(), 1.0);

    Progress cancelled;
    cancelled.cancel();
    EXPECT_EQ(readNumberFile(dir.file("n.txt"), kNoLimit, cancelled).status, Status::Cancelled);
}

} // namespace
} // namespace longhand
