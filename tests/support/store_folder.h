// A private folder for one test's factorial store, with byte-exact reads and
// writes of the files in it. Removed with everything in it at the end.
#pragma once

#include "store/factorialstore.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <unistd.h>

namespace longhand::test {

class StoreFolder {
  public:
    StoreFolder() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = std::filesystem::temp_directory_path() /
               ("longhand-store-" + std::to_string(::getpid()) + "-" + info->test_suite_name() +
                "-" + info->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    ~StoreFolder() {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    StoreFolder(const StoreFolder&) = delete;
    StoreFolder& operator=(const StoreFolder&) = delete;

    const std::filesystem::path& dir() const { return dir_; }
    std::string path(const std::string& name = kFacDataFileName) const {
        return (dir_ / name).string();
    }
    // The file's bytes; nothing when it is missing.
    std::optional<std::string> read(const std::string& name = kFacDataFileName) const {
        std::ifstream in(path(name), std::ios::binary);
        if (!in) return std::nullopt;
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    void write(const std::string& bytes, const std::string& name = kFacDataFileName) const {
        std::ofstream(path(name), std::ios::binary | std::ios::trunc) << bytes;
    }
    // The names of the files in the folder.
    std::set<std::string> names() const {
        std::set<std::string> out;
        for (const auto& entry : std::filesystem::directory_iterator(dir_))
            out.insert(entry.path().filename().string());
        return out;
    }

  private:
    std::filesystem::path dir_;
};

} // namespace longhand::test
