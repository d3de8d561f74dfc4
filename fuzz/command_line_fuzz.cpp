// Splits arbitrary bytes as a raw command line and checks what must hold
// for every input.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "run/command_line.h"

namespace {

void Check(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "check failed: %s\n", what);
  std::abort();
}

// Splitting only drops bytes (separators, quotes), never adds or reorders.
bool IsSubsequence(const std::vector<std::string>& tokens,
                   std::string_view line) {
  std::size_t at = 0;
  for (const std::string& token : tokens) {
    for (char byte : token) {
      while (at < line.size() && line[at] != byte) ++at;
      if (at == line.size()) return false;
      ++at;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  std::string_view line(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> tokens = SplitCommandLine(line);

  std::size_t total = 0;
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    const std::string& token = tokens[i];
    Check(token.find('"') == std::string::npos, "a token holds a quote");
    Check(token.find('\0') == std::string::npos, "a token holds a NUL");
    // Only an unclosed quote at the very end can make an empty token.
    Check(!token.empty() || i + 1 == tokens.size(),
          "an empty token before the last");
    total += token.size();
  }
  Check(total <= size, "tokens longer than the line");
  Check(IsSubsequence(tokens, line.substr(0, line.find('\0'))),
        "tokens are not taken from the line before its NUL");

  platform::CommandLine raw;
  raw.is_raw = true;
  raw.raw.assign(line);
  std::string first = FirstArgument(raw);
  Check(first == (tokens.size() > 1 ? tokens[1] : std::string()),
        "FirstArgument differs from the second token");

  // The same tokens handed over already split must give the same answer.
  platform::CommandLine split;
  split.argv = tokens;
  Check(FirstArgument(split) == first, "split and raw command lines differ");

  // Quoting every non-empty token and joining them with blanks must split
  // back into those tokens.
  std::string joined;
  std::vector<std::string> non_empty;
  for (const std::string& token : tokens) {
    if (token.empty()) continue;
    joined.append(" \"").append(token).append("\"");
    non_empty.push_back(token);
  }
  Check(SplitCommandLine(joined) == non_empty,
        "quoted tokens do not round-trip");
  return 0;
}
