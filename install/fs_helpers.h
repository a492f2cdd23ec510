// Small file-system operations shared by installation and queue update.
#pragma once

#include <string>

// 1 when it made the directory now (chmod-ed to exactly mode), 0 when path is
// an existing directory, -1 otherwise. With create off it is a pure test.
int makeDir(const std::string& path, int create, unsigned mode);

// Makes every missing directory along path (mode 0777), path included.
void makePath(const std::string& path);

// 0 when it made link as a symbolic link to target, -1 otherwise.
int makeLink(const std::string& target, const std::string& link);

// Copies the bytes of source into target (created or truncated).
void copyFile(const std::string& source, const std::string& target);
