#include "driver/text_file.h"

bool readPart(std::FILE* file, std::string& part, int maxChars) {
  part.clear();
  for (int c; static_cast<int>(part.size()) < maxChars && (c = std::fgetc(file)) != EOF;) {
    part += static_cast<char>(c);
    if (c == '\n') break;
  }
  return !part.empty();
}

bool writeText(std::FILE* file, const std::string& text) {
  return std::fwrite(text.data(), 1, text.size(), file) == text.size();
}
