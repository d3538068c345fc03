#pragma once
// Multi-line texts of the chart (axis labels, marks): lines are separated by
// character 13, and an empty rest after the last separator is no line.

#include <string>

inline constexpr char kLineSeparator = '\r';

// Calls f with each line in order and returns how many there were. A text
// without a separator is passed as it is, without a copy.
template <typename F>
int ForEachLine(const std::string& text, F&& f) {
  std::string::size_type at = text.find(kLineSeparator);
  if (at == std::string::npos) {
    f(text);
    return 1;
  }
  std::string line;
  std::string::size_type start = 0;
  int count = 0;
  for (;;) {
    line.assign(text, start, at - start);
    f(line);
    ++count;
    start = at + 1;
    if (start >= text.size()) return count;
    at = text.find(kLineSeparator, start);
    if (at == std::string::npos) at = text.size();
  }
}

inline int LineCount(const std::string& text) {
  int count = 1;
  for (std::string::size_type i = 0; i + 1 < text.size(); ++i)
    count += text[i] == kLineSeparator;
  return count;
}
