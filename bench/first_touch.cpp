// What the machine charges for memory a process touches first: maps a
// block, advises it for huge pages or against them, writes one byte a
// page, and prints the time taken and the system time it cost.
//   first_touch 1024 huge     first_touch 1024 small
// Run it right after another run, then after some seconds of idle: on a
// virtual machine that hands free memory back to its host, the second
// costs far more with huge pages.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/mman.h>
#include <sys/resource.h>

namespace {

double systemSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_stime.tv_sec) + usage.ru_stime.tv_usec / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    const std::size_t mib = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1024;
    const bool huge = argc > 2 && std::strcmp(argv[2], "huge") == 0;
    const std::size_t bytes = mib << 20;
    void* block = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED) return 1;
    madvise(block, bytes, huge ? MADV_HUGEPAGE : MADV_NOHUGEPAGE);
    auto* p = static_cast<volatile char*>(block);
    const double before = systemSeconds();
    const auto start = std::chrono::steady_clock::now();
    for (std::size_t at = 0; at < bytes; at += 4096)
        p[at] = 1;
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
    std::printf("%zu MiB on %s pages: first touch %.3f s, %.3f s of system time\n", mib,
                huge ? "huge" : "small", wall.count(), systemSeconds() - before);
    return 0;
}
