#include "toolkit/Errors.h"

namespace tk {

EListError::EListError(long long index)
    : Exception(FormatMessage("List index out of bounds (%d)", {std::to_string(index)})),
      index_(index) {}

std::string FormatMessage(const std::string& pattern, std::initializer_list<std::string> args) {
  std::string out;
  out.reserve(pattern.size() + 16);
  auto next = args.begin();
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const bool marker = pattern[i] == '%' && i + 1 < pattern.size() &&
                        (pattern[i + 1] == 'd' || pattern[i + 1] == 's');
    if (marker && next != args.end()) {
      out += *next++;
      ++i;
    } else {
      out += pattern[i];
    }
  }
  return out;
}

}  // namespace tk
