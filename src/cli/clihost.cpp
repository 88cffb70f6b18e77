#include "clihost.h"

#include <cstdio>

namespace longhand::cli {

void CliHost::showMessage(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fputc('\n', stderr);
}

bool CliHost::askYesNo(const std::string& text) {
    // No one to ask: say what would have been asked, and answer No.
    std::fprintf(stderr, "%s (answered No)\n", text.c_str());
    return false;
}

} // namespace longhand::cli
