#include "run/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_platform.h"

namespace {

using namespace std::string_literals;
using Tokens = std::vector<std::string>;

TEST(CommandLineTest, FirstArgumentDecidesHelp) {
  struct Row {
    const char* name;
    std::string raw;
    std::string first;
    bool help;
  };
  const Row rows[] = {
      {"slash question", "prog /?", "/?", true},
      {"question", "prog ?", "?", true},
      {"quoted", "prog \"/?\"", "/?", true},
      {"after empty pair", "prog \"\" /?", "/?", true},
      {"after two empty pairs", "prog \"\" \"\" ?", "?", true},
      {"empty pair glued on", "prog \"\"/?", "/?", true},
      {"quoted program name", "\"C:\\Program Files\\t.exe\" /?", "/?", true},
      {"quote opens mid-token", "prog /\"?\"", "/?", true},
      {"tab separates", "prog\t/?", "/?", true},
      {"trailing blanks", "prog   /?   ", "/?", true},
      {"name glued to quotes", "\"prog\"/?", "", false},
      {"no argument", "prog", "", false},
      {"only blanks after name", "prog   ", "", false},
      {"only empty pair", "prog \"\"", "", false},
      {"empty line", "", "", false},
      {"longer switch", "prog /?x", "/?x", false},
      {"doubled", "prog /??", "/??", false},
      {"question then x", "prog ?x", "?x", false},
      {"slash h", "prog /h", "/h", false},
      {"slash H", "prog /H", "/H", false},
      {"dash", "prog -?", "-?", false},
      {"second argument", "prog x /?", "x", false},
      {"blank inside quotes", "prog \"/? \"", "/? ", false},
      {"unterminated quote", "prog \"/?", "/?", true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    std::string first = FirstArgument(RawCommandLine(row.raw));
    EXPECT_EQ(first, row.first);
    EXPECT_EQ(IsHelpSwitch(first), row.help);
  }
}

TEST(CommandLineTest, SplitsLikeTheWindowsRuntime) {
  struct Row {
    const char* name;
    std::string line;
    Tokens expected;
  };
  const std::string long_token(300, 'L');
  const Row rows[] = {
      {"blank runs", "a  b   c", {"a", "b", "c"}},
      {"control bytes separate", "a\x01z\x1Fy\x7Fx", {"a", "z", "y\x7Fx"}},
      {"tab, CR, LF separate", "a\tb\r\nc", {"a", "b", "c"}},
      {"high bytes ordinary", "\x80\xFF \xB3x", {"\x80\xFF", "\xB3x"}},
      {"quoted stretch mid-token", "a\"b c\"d", {"ab cd"}},
      {"quoted stretch at start", "\"a b\"c d", {"a bc", "d"}},
      {"unterminated quote runs to end", "a \"b c  d", {"a", "b c  d"}},
      {"backslashes ordinary",
       "C:\\dir\\ \\\"x y\\\"",
       {"C:\\dir\\", "\\x y\\"}},
      {"doubled quote is no quote", "\"a\"\"b c\"", {"ab c"}},
      {"empty pair mid-token is dropped", "a\"\"b", {"ab"}},
      {"empty pairs before token", "\"\" \"\"x y", {"x", "y"}},
      {"empty pairs only", "\"\" \"\"  \"\"", {}},
      {"text ends at NUL", "a b\0c d"s, {"a", "b"}},
      {"long token kept whole",
       "p " + long_token + " z",
       {"p", long_token, "z"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(SplitCommandLine(row.line), row.expected);
  }
}

TEST(CommandLineTest, LongFirstArgumentKeptWhole) {
  const std::string long_arg = "/?" + std::string(300, 'x');
  EXPECT_EQ(FirstArgument(RawCommandLine(std::string(300, 'p') + " " + long_arg)),
            long_arg);
}

TEST(CommandLineTest, SplitArgvSkipsEmptyEntries) {
  struct Row {
    const char* name;
    Tokens argv;
    std::string first;
  };
  const Row rows[] = {
      {"plain", {"prog", "/?"}, "/?"},
      {"empty entries skipped", {"prog", "", "", "?"}, "?"},
      {"second not looked at", {"prog", "x", "/?"}, "x"},
      {"name only", {"prog"}, ""},
      {"empty entries only", {"prog", ""}, ""},
      {"nothing at all", {}, ""},
      {"argument kept as given", {"prog", "a b"}, "a b"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(FirstArgument(ArgvCommandLine(row.argv)), row.first);
  }
}

}  // namespace
