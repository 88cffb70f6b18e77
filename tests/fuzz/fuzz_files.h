// What the fuzz targets that read and write files share: a loud failure
// with the input at fault, a scratch folder of the process, and whole files
// written and read back.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <unistd.h>

namespace longhand::fuzz {

[[noreturn]] inline void fail(const char* what, std::string_view detail) {
    std::fprintf(stderr, "%s: \"%.*s\"\n", what, static_cast<int>(detail.size()), detail.data());
    std::abort();
}

// A fresh folder for this process, named for the target: tmpfs where there
// is one, so that the writers' flushes cost nothing. Made once a target
// (the name is a literal), kept for the process's life.
inline std::string scratchFolder(std::string_view target) {
    std::string folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    folder += "/longhand-fuzz-";
    folder += target;
    folder += "-XXXXXX";
    if (!mkdtemp(folder.data())) std::abort();
    return folder;
}

inline void putFile(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace longhand::fuzz
