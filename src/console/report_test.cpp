#include "console/report.h"

#include <gtest/gtest.h>

#include <string>

#include "console/console_out.h"
#include "fake_platform.h"

namespace {

using namespace std::string_literals;

constexpr char kHead[] =
    "Exception EConvertError in module tolvarin.exe at 1234ABCD.\n";

TEST(FormatReportTest, NamesClassModuleAndOffset) {
  EXPECT_EQ(FormatReport("EConvertError", "tolvarin.exe", 0x1234ABCD,
                         "'abc' is not a valid integer value"),
            "Exception EConvertError in module tolvarin.exe at 1234ABCD.\n"
            "'abc' is not a valid integer value.");
}

TEST(FormatReportTest, MessageGetsOnePeriodUnlessItHasOne) {
  struct Row {
    const char* name;
    std::string message;
    std::string expected_tail;
  };
  const Row rows[] = {
      {"one letter", "x", "x."},
      {"ends with period", "done.", "done."},
      {"ends with two periods", "done..", "done.."},
      {"empty", "", ""},
      {"period inside", "a.b", "a.b."},
      {"NUL cuts message", "ab\0cd."s, "ab."},
      {"period before NUL", "ab.\0cd"s, "ab."},
      {"NUL first", "\0cd"s, ""},
      {"line feed kept", "a\nb"s, "a\nb."},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(
        FormatReport("EConvertError", "tolvarin.exe", 0x1234ABCD, row.message),
        kHead + row.expected_tail);
  }
}

TEST(FormatReportTest, OffsetInEightUppercaseHexDigits) {
  struct Row {
    std::uint32_t offset;
    const char* expected;
  };
  const Row rows[] = {
      {0, "00000000"},
      {0x1a, "0000001A"},
      {0xabcdef, "00ABCDEF"},
      {0xFFFFFFFF, "FFFFFFFF"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.expected);
    EXPECT_EQ(FormatReport("E", "m", row.offset, "x"),
              "Exception E in module m at "s + row.expected + ".\nx.");
  }
}

TEST(FormatReportTest, CutToFirst1024Bytes) {
  const std::size_t head = std::string(kHead).size();
  struct Row {
    const char* name;
    std::size_t message_size;
    char last;
  };
  const Row rows[] = {
      {"period just fits", 1023 - head, '.'},
      {"period cut off", 1024 - head, 'm'},
      {"long message", 5000, 'm'},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    std::string text = FormatReport("EConvertError", "tolvarin.exe", 0x1234ABCD,
                                    std::string(row.message_size, 'm'));
    ASSERT_EQ(text.size(), 1024u);
    EXPECT_EQ(text.substr(0, head), kHead);
    EXPECT_EQ(text.back(), row.last);
  }
}

TEST(BaseNameTest, DropsDirectory) {
  struct Row {
    std::string_view path;
    std::string_view expected;
  };
  const Row rows[] = {
      {"C:\\Programs\\tolvarin.exe", "tolvarin.exe"},
      {"/usr/local/bin/tolvarin", "tolvarin"},
      {"C:\\mixed/dirs\\x.exe", "x.exe"},
      {"tolvarin.exe", "tolvarin.exe"},
      {"\\\\server\\share\\t.exe", "t.exe"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.path);
    EXPECT_EQ(BaseName(row.path), row.expected);
  }
}

TEST(ReportUnhandledErrorTest, ContinuesLineEndsWithExitCodeOne) {
  FakePlatform fake;
  fake.input = "\r\n";
  ScopedFakePlatform scoped(fake);
  ConsoleOut().Write("reading ini...");
  EXPECT_EQ(ExitCodeOf([] {
              ReportUnhandledError(
                  EConvertError("'' is not a valid integer value", nullptr));
            }),
            1);
  EXPECT_EQ(fake.output,
            "reading ini...Exception EConvertError in module tolvarin.exe at "
            "1234ABCD.\n'' is not a valid integer value.\r\n");
  EXPECT_EQ(fake.input_taken, 0u);  // no Enter prompt
}

TEST(ReportUnhandledErrorTest, OutOfMemoryHasItsOwnMessage) {
  FakePlatform fake;
  fake.module_path = "/opt/tolvarin/bin/tolvarin";
  ScopedFakePlatform scoped(fake);
  EXPECT_EQ(ExitCodeOf([] { ReportUnhandledError(EOutOfMemory(nullptr)); }), 1);
  EXPECT_EQ(fake.output,
            "Exception EOutOfMemory in module tolvarin at 1234ABCD.\n"
            "Out of memory.\r\n");
}

}  // namespace
