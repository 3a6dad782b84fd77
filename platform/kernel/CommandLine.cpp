#include "platform/kernel/CommandLine.h"

namespace qm::kernel {

std::vector<std::string> SplitArguments(std::string_view line) {
  std::vector<std::string> arguments;
  std::size_t at = 0;
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  for (;;) {
    while (at < line.size() && blank(line[at])) ++at;
    if (at == line.size()) return arguments;
    std::string argument;
    bool quoted = false;
    while (at < line.size() && (quoted || !blank(line[at]))) {
      std::size_t slashes = 0;
      while (at < line.size() && line[at] == '\\') ++slashes, ++at;
      if (at < line.size() && line[at] == '"') {
        argument.append(slashes / 2, '\\');
        if (slashes % 2 == 1) {
          argument += '"';
        } else if (quoted && at + 1 < line.size() && line[at + 1] == '"') {
          // The older runtimes' rule: the doubled quote is kept once and
          // the quoted part ends with it.
          argument += '"';
          ++at;
          quoted = false;
        } else {
          quoted = !quoted;
        }
        ++at;
      } else {
        argument.append(slashes, '\\');
        if (at < line.size() && (quoted || !blank(line[at]))) argument += line[at++];
      }
    }
    arguments.push_back(std::move(argument));
  }
}

}  // namespace qm::kernel
