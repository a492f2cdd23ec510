// Text files read in parts of at most 255 characters, the way every step of
// setup reads lines: a longer line arrives as several parts, each handled on
// its own. Files are owned by File, which closes them.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

struct FileCloser {
  void operator()(std::FILE* f) const {
    if (f) std::fclose(f);
  }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

inline File openFile(const std::string& path, const char* mode) {
  return File(std::fopen(path.c_str(), mode));
}

// The most one read takes, as from a 256-byte buffer.
inline constexpr int kLinePartMax = 255;

// Reads the next part of a line (up to and including its newline, at most
// kLinePartMax characters) into part. Returns false when nothing was read.
bool readPart(std::FILE* file, std::string& part, int maxChars = kLinePartMax);

// Writes text to file; returns false when the write failed.
bool writeText(std::FILE* file, const std::string& text);
