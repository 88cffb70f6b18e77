// Whole-file reads and crash-safe whole-file writes.
#pragma once

#include <optional>
#include <string>

namespace longhand {

// The file's bytes, or nothing when it cannot be opened or read.
std::optional<std::string> readWholeFile(const std::string& path);

// Replaces the file's content with `bytes` so that a crash or a full disk
// never leaves it half-written: the bytes go to a new file in the same
// folder, are flushed to disk, and the new file is renamed over the old one.
// Returns false (and leaves the old file as it was) on any failure.
bool replaceFileAtomically(const std::string& path, const std::string& bytes);

} // namespace longhand
