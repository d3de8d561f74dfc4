#include "settings/int_conversion.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>

namespace {

using namespace std::string_literals;

const std::string kByteOrderMark = "\xEF\xBB\xBF";

struct Row {
  const char* name;
  std::string text;
  std::optional<std::int32_t> expected;
};

TEST(ConvertIntegerTest, Decimal) {
  const Row rows[] = {
      {"plain", "10", 10},
      {"zero", "0", 0},
      {"plus", "+5", 5},
      {"minus", "-1", -1},
      {"minus zero", "-0", 0},
      {"plus zero", "+0", 0},
      {"leading zeros", "0000010", 10},
      {"many leading zeros", std::string(5000, '0') + "1", 1},
      {"highest", "2147483647", INT32_MAX},
      {"one past highest", "2147483648", std::nullopt},
      {"far past highest", "99999999999", std::nullopt},
      {"lowest", "-2147483647", -INT32_MAX},
      {"int32 minimum", "-2147483648", std::nullopt},
      {"zeros then highest", "000002147483647", INT32_MAX},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(ConvertInteger(row.text), row.expected);
  }
}

TEST(ConvertIntegerTest, Hexadecimal) {
  const Row rows[] = {
      {"ten", "$0A", 10},
      {"lower case", "$ff", 255},
      {"zero", "$0", 0},
      {"highest positive", "$7FFFFFFF", INT32_MAX},
      {"lowest negative", "$80000000", INT32_MIN},
      {"all ones", "$FFFFFFFF", -1},
      {"nine significant digits", "$100000000", std::nullopt},
      {"nine digits, one significant", "$000000001", 1},
      {"many leading zeros", "$" + std::string(100, '0') + "FFFFFFFF", -1},
      {"dollar alone", "$", std::nullopt},
      {"sign before dollar", "-$1", std::nullopt},
      {"plus before dollar", "+$1", std::nullopt},
      {"not a hex digit", "$1G", std::nullopt},
      {"C prefix", "0x10", std::nullopt},
      {"blank after dollar", "$ 1", std::nullopt},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(ConvertInteger(row.text), row.expected);
  }
}

TEST(ConvertIntegerTest, BlanksSignsAndStrayBytes) {
  const Row rows[] = {
      {"leading blanks", "   10", 10},
      {"leading blank before sign", " -1", -1},
      {"leading blank before dollar", " $0A", 10},
      {"trailing blank", "10 ", std::nullopt},
      {"leading tab", "\t10", std::nullopt},
      {"trailing tab", "10\t", std::nullopt},
      {"blank after sign", "- 1", std::nullopt},
      {"two signs", "+-1", std::nullopt},
      {"empty", "", std::nullopt},
      {"blanks only", "   ", std::nullopt},
      {"minus alone", "-", std::nullopt},
      {"plus alone", "+", std::nullopt},
      {"decimal point", "1.0", std::nullopt},
      {"exponent", "1e3", std::nullopt},
      {"byte-order mark", kByteOrderMark + "10", std::nullopt},
      {"trailing CR", "10\r", std::nullopt},
      {"NUL ends the text", "12\0x"s, 12},
      {"NUL after blanks", "  7\0 junk"s, 7},
      {"NUL first", "\0"s, std::nullopt},
      {"NUL after sign", "-\0 1"s, std::nullopt},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(ConvertInteger(row.text), row.expected);
  }
}

// The scanner meets the delay line in pieces cut wherever a read ended.
TEST(IntegerScannerTest, PiecesConvertLikeTheWhole) {
  const std::string texts[] = {"  -2147483647", "2147483648",  "$0000FFFFFFFF",
                               "$123456789",    "12\0x"s,      " - 1",
                               "0000000010",    "$",           "+7 "};
  for (const std::string& text : texts) {
    for (std::size_t cut = 0; cut <= text.size(); ++cut) {
      SCOPED_TRACE(text + " cut at " + std::to_string(cut));
      IntegerScanner scanner;
      scanner.Feed(std::string_view(text).substr(0, cut));
      scanner.Feed(std::string_view(text).substr(cut));
      EXPECT_EQ(scanner.Result(), ConvertInteger(text));
    }
  }
}

TEST(IntegerScannerTest, RejectsAsSoonAsNothingCanFollow) {
  const Row rows[] = {
      {"letter", "1x", std::nullopt},
      {"past the range", "21474836470", std::nullopt},
      {"ninth hex digit", "$100000000", std::nullopt},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    IntegerScanner scanner;
    scanner.Feed(row.text);
    EXPECT_TRUE(scanner.Rejected());
  }
  IntegerScanner undecided;
  undecided.Feed("   -");
  EXPECT_FALSE(undecided.Rejected());
}

}  // namespace
