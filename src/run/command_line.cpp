#include "run/command_line.h"

namespace {

bool IsSeparator(char byte) {
  return static_cast<unsigned char>(byte) <= 0x20;
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view line) {
  line = line.substr(0, line.find('\0'));
  std::vector<std::string> tokens;
  std::size_t at = 0;
  const std::size_t end = line.size();
  for (;;) {
    for (;;) {
      while (at < end && IsSeparator(line[at])) ++at;
      if (at + 1 < end && line[at] == '"' && line[at + 1] == '"') {
        at += 2;
      } else {
        break;
      }
    }
    if (at == end) return tokens;

    std::string token;
    while (at < end && !IsSeparator(line[at])) {
      if (line[at] == '"') {
        std::size_t close = line.find('"', at + 1);
        if (close == std::string_view::npos) close = end;
        token.append(line.substr(at + 1, close - at - 1));
        at = close == end ? end : close + 1;
      } else {
        token.push_back(line[at++]);
      }
    }
    tokens.push_back(std::move(token));
  }
}

std::string FirstArgument(const platform::CommandLine& command_line) {
  if (command_line.is_raw) {
    std::vector<std::string> tokens = SplitCommandLine(command_line.raw);
    return tokens.size() > 1 ? tokens[1] : std::string();
  }
  // argv arrives split: an empty entry is an empty quoted argument.
  for (std::size_t i = 1; i < command_line.argv.size(); ++i) {
    if (!command_line.argv[i].empty()) return command_line.argv[i];
  }
  return std::string();
}

bool IsHelpSwitch(std::string_view argument) {
  return argument == "/?" || argument == "?";
}
