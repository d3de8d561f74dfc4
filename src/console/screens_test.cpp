#include "console/screens.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "console/console_out.h"
#include "fake_platform.h"
#include "screen_texts.h"

namespace {

// Hands out input in reads of at most `per_read` bytes and notes what had
// been written out when input was first asked for.
class TypingPlatform : public FakePlatform {
 public:
  std::size_t per_read = 128;
  std::string output_at_first_read;
  int reads = 0;

  platform::ReadResult ReadStdin(char* buffer, std::size_t size) override {
    if (reads++ == 0) output_at_first_read = output;
    return FakePlatform::ReadStdin(buffer, std::min(size, per_read));
  }
};

TEST(ScreensTest, BannerIsSixEmptyLinesTitleAndTwoTextLines) {
  FakePlatform fake;
  fake.stdout_kind = platform::OutputKind::kCharDevice;
  ScopedFakePlatform scoped(fake);
  WriteBanner();
  const std::string blank_lines = "\r\n\r\n\r\n\r\n\r\n\r\n";
  const std::string tail =
      "version 2 - extended functions...\r\n"
      "any program launched now with delay!\r\n"
      "\r\n\r\n";
  const std::string& out = fake.output;  // written out by the line end
  ASSERT_GT(out.size(), blank_lines.size() + tail.size());
  EXPECT_EQ(out.substr(0, blank_lines.size()), blank_lines);
  EXPECT_EQ(out.substr(out.size() - tail.size()), tail);
  std::string title = out.substr(blank_lines.size(),
                                 out.size() - blank_lines.size() - tail.size());
  EXPECT_NE(title.find("Tolvarin"), std::string::npos) << title;
  EXPECT_EQ(title.find("\r\n"), title.size() - 2)
      << "one title line: " << title;
  EXPECT_GT(title.size(), 2u);
}

TEST(ScreensTest, HelpShowsFileFormatThenWaitsForEnter) {
  FakePlatform fake;
  fake.input = "\r\n";
  ScopedFakePlatform scoped(fake);
  EXPECT_EQ(ExitCodeOf([] { ShowHelp(); }), 0);
  EXPECT_EQ(fake.output,
            "\b\b\b\b\b\b\b\b"
            "This version needed Tolvarin.ini with FOUR lines:\r\n"
            "1 - delay (positive integer value)\r\n"
            "2 - ProgName (ex., RunDLL32.exe - required anywhere)\r\n"
            "3 - ProgParams (ex., user,ExitWindows - optional)\r\n"
            "4 - ProgDirectory (ex., C:\\WINDOWS - optional)\r\n" +
                kEnterPrompt);
  EXPECT_EQ(fake.input_taken, 2u);
}

TEST(ScreensTest, ErrorContinuesOpenLineThenWaitsForEnter) {
  FakePlatform fake;
  fake.input = "\r\n";
  ScopedFakePlatform scoped(fake);
  ConsoleOut().Write("reading ini...");
  EXPECT_EQ(ExitCodeOf([] { ShowError("Tolvarin.ini not found!"); }), 0);
  EXPECT_EQ(fake.output,
            "reading ini...\r\n"
            "ERROR:  Tolvarin.ini not found!\r\n"
            "\r\n"
            "\r\n"
            " /? or ? to help.\r\n" +
                kEnterPrompt);
  EXPECT_EQ(fake.input_taken, 2u);
}

TEST(ScreensTest, ErrorMessageBytesPassUnchanged) {
  FakePlatform fake;
  ScopedFakePlatform scoped(fake);
  const std::string message("\xFF\0\x1A", 3);
  EXPECT_EQ(ExitCodeOf([&] { ShowError(message); }), 0);
  EXPECT_EQ(fake.output.substr(0, 13), "\r\nERROR:  " + message);
}

TEST(ScreensTest, PromptIsOnConsoleBeforeInputIsRead) {
  TypingPlatform fake;
  fake.stdout_kind = platform::OutputKind::kCharDevice;
  fake.input = "\r\n";
  ScopedFakePlatform scoped(fake);
  EXPECT_EQ(ExitCodeOf([] { PressEnterAndHalt(); }), 0);
  EXPECT_EQ(fake.output_at_first_read, kEnterPrompt);
}

TEST(ScreensTest, EndOfInputEndsPromptAtOnce) {
  FakePlatform fake;
  ScopedFakePlatform scoped(fake);
  EXPECT_EQ(ExitCodeOf([] { PressEnterAndHalt(); }), 0);
  EXPECT_EQ(fake.output, kEnterPrompt);  // buffered text written out at the end
}

TEST(ScreensTest, EndProcessWritesOutBufferFirst) {
  FakePlatform fake;
  ScopedFakePlatform scoped(fake);
  ConsoleOut().Write("pending");
  ConsoleOut().WriteLine();
  EXPECT_EQ(fake.output, "");  // a pipe: line ends force nothing
  EXPECT_EQ(ExitCodeOf([] { EndProcess(7); }), 7);
  EXPECT_EQ(fake.output, "pending\r\n");
}

TEST(DiscardInputLineTest, TakesOneLine) {
  struct Row {
    const char* name;
    std::string input;
    bool lf_ends_input;
    std::size_t per_read;
    std::size_t expected_taken;
  };
  const std::string a127(127, 'a');
  const std::string a200(200, 'a');
  const std::string rest(200, 'z');
  const Row rows[] = {
      {"CR LF", "ab\r\nrest", true, 1, 4},
      {"CR at end of input", "ab\r", true, 1, 3},
      {"CR first", "\r\nrest", true, 1, 2},
      {"LF ends when allowed", "ab\nrest", true, 1, 3},
      {"LF is data otherwise", "ab\nrest", false, 1, 7},
      {"LF then CR LF", "ab\ncd\r\nrest", false, 1, 7},
      {"Ctrl-Z", "ab\x1Arest", true, 1, 3},
      {"Ctrl-Z before CR", "\x1A\r\n", true, 1, 1},
      {"no line end", "abc", true, 1, 3},
      {"empty input", "", true, 1, 0},
      {"one read holds the line", "ab\r\n" + rest, true, 128, 128},
      {"line over two reads", a200 + "\r\n" + rest, true, 128, 256},
      {"LF in next read", a127 + "\r\n" + rest, true, 128, 256},
      {"LF-only input read to end", "ab\n" + rest, false, 128, 203},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TypingPlatform fake;
    fake.input = row.input;
    fake.lf_ends_input = row.lf_ends_input;
    fake.per_read = row.per_read;
    DiscardInputLine(fake);
    EXPECT_EQ(fake.input_taken, row.expected_taken);
  }
}

}  // namespace
