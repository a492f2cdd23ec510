// printf-style formatting of message texts into a std::string.
//
// Message texts come from the message table at run time, so the compiler
// cannot check them against their arguments; this formatter checks every
// conversion against the type of its argument instead. It knows %s, %d, %o,
// %c and %%; a conversion without a fitting argument is written as "%?" so a
// mismatch shows in the log instead of reading a wrong argument.
#pragma once

#include <concepts>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace fmt_detail {
using Arg = std::variant<std::string_view, long long, char>;

template <typename T>
Arg toArg(const T& value) {
  if constexpr (std::same_as<T, char>) {
    return value;
  } else if constexpr (std::integral<T> || std::is_enum_v<T>) {
    return static_cast<long long>(value);
  } else {
    return std::string_view(value);
  }
}

std::string formatArgs(std::string_view fmt, const std::vector<Arg>& args);
}  // namespace fmt_detail

template <typename... Args>
std::string format(std::string_view fmt, const Args&... args) {
  return fmt_detail::formatArgs(fmt, {fmt_detail::toArg(args)...});
}
