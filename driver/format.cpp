#include "driver/format.h"

#include <cstdio>

namespace fmt_detail {

static void appendNumber(std::string& out, long long value, bool octal) {
  char digits[32];
  std::snprintf(digits, sizeof digits, octal ? "%llo" : "%lld", value);
  out += digits;
}

std::string formatArgs(std::string_view fmt, const std::vector<Arg>& args) {
  std::string out;
  std::size_t next = 0;
  for (std::size_t i = 0; i < fmt.size(); ++i) {
    if (fmt[i] != '%' || i + 1 == fmt.size()) {
      out += fmt[i];
      continue;
    }
    const char conversion = fmt[++i];
    if (conversion == '%') {
      out += '%';
      continue;
    }
    const Arg* arg = next < args.size() ? &args[next++] : nullptr;
    const auto* text = arg ? std::get_if<std::string_view>(arg) : nullptr;
    const auto* number = arg ? std::get_if<long long>(arg) : nullptr;
    const auto* character = arg ? std::get_if<char>(arg) : nullptr;
    if (conversion == 's' && text) {
      out += *text;
    } else if ((conversion == 'd' || conversion == 'o') && number) {
      appendNumber(out, *number, conversion == 'o');
    } else if (conversion == 'c' && character) {
      out += *character;
    } else {
      out += "%?";
    }
  }
  return out;
}

}  // namespace fmt_detail
