#include "launch/launch.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "console/console_out.h"
#include "fake_platform.h"
#include "launch/launch_rules.h"

namespace {

using namespace std::string_literals;
using platform::LaunchError;

constexpr char kExecution[] = "       ...execution!\r\n";

LaunchSettings Settings(std::int32_t delay, std::string name,
                        std::string params, std::string directory) {
  LaunchSettings settings;
  settings.Delay = delay;
  settings.ProgName = std::move(name);
  settings.ProgParams = std::move(params);
  settings.ProgDirectory = std::move(directory);
  return settings;
}

// Runs the stage on a console and returns all it wrote.
std::string RunOnConsole(FakePlatform& fake, const LaunchSettings& settings) {
  fake.stdout_kind = platform::OutputKind::kCharDevice;
  ScopedFakePlatform scoped(fake);
  CountDownAndLaunch(settings);
  ConsoleOut().WriteOut();
  return fake.output;
}

TEST(CountDownTest, AnnouncesWhatItLaunches) {
  struct Row {
    const char* name;
    LaunchSettings settings;
    std::string expected;
  };
  const Row rows[] = {
      {"with directory",
       Settings(0, "RunDLL32.exe", "user,ExitWindows", "C:\\WINDOWS"),
       "  ...done!\r\nLaunch RunDLL32.exe user,ExitWindows\r\n"
       "in C:\\WINDOWS\r\n\r\n"s +
           kExecution},
      {"no directory", Settings(0, "RunDLL32.exe", "user,ExitWindows", ""),
       "  ...done!\r\nLaunch RunDLL32.exe user,ExitWindows\r\n"s + kExecution},
      {"no params keeps the blank", Settings(0, "notepad.exe", "", ""),
       "  ...done!\r\nLaunch notepad.exe \r\n"s + kExecution},
      {"all empty", Settings(0, "", "", ""),
       "  ...done!\r\nLaunch  \r\n"s + kExecution},
      {"blank directory is not empty", Settings(0, "a", "b", " "),
       "  ...done!\r\nLaunch a b\r\nin  \r\n\r\n"s + kExecution},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    FakePlatform fake;
    EXPECT_EQ(RunOnConsole(fake, row.settings), row.expected);
    EXPECT_TRUE(fake.sleeps.empty());
    EXPECT_EQ(fake.launches.size(), 1u);
  }
}

TEST(CountDownTest, CountsDownOneLineASecond) {
  struct Row {
    std::int32_t delay;
    std::string lines;
  };
  const Row rows[] = {
      {0, ""},
      {1, "1 second remain...\r\n"},
      {3, "3 second remain...\r\n2 second remain...\r\n1 second remain...\r\n"},
      {10,
       "10 second remain...\r\n9 second remain...\r\n8 second remain...\r\n"
       "7 second remain...\r\n6 second remain...\r\n5 second remain...\r\n"
       "4 second remain...\r\n3 second remain...\r\n2 second remain...\r\n"
       "1 second remain...\r\n"},
  };
  const std::string announcement =
      "  ...done!\r\nLaunch RunDLL32.exe user,ExitWindows\r\nin "
      "C:\\WINDOWS\r\n\r\n";
  for (const Row& row : rows) {
    SCOPED_TRACE(row.delay);
    FakePlatform fake;
    EXPECT_EQ(RunOnConsole(fake, Settings(row.delay, "RunDLL32.exe",
                                          "user,ExitWindows", "C:\\WINDOWS")),
              announcement + row.lines + kExecution);
    EXPECT_EQ(fake.sleeps, std::vector<unsigned>(row.delay, 1000));
  }
}

TEST(CountDownTest, EachLineIsOnConsoleBeforeItsSecond) {
  FakePlatform fake;
  std::string output = RunOnConsole(fake, Settings(3, "prog", "", ""));
  ASSERT_EQ(fake.output_at_sleep.size(), 3u);
  const char* lines[] = {"3 second remain...\r\n", "2 second remain...\r\n",
                         "1 second remain...\r\n"};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(lines[i]);
    std::string before = output.substr(0, fake.output_at_sleep[i]);
    ASSERT_GE(before.size(), std::strlen(lines[i]));
    EXPECT_EQ(before.substr(before.size() - std::strlen(lines[i])), lines[i]);
  }
}

TEST(CountDownTest, HandsTheThreeStringsToTheOs) {
  FakePlatform fake;
  RunOnConsole(fake, Settings(0, "RunDLL32.exe", "user,ExitWindows", ""));
  ASSERT_EQ(fake.launches.size(), 1u);
  EXPECT_EQ(fake.launches[0].name, "RunDLL32.exe");
  EXPECT_EQ(fake.launches[0].params, "user,ExitWindows");
  EXPECT_EQ(fake.launches[0].directory, "");
}

TEST(CountDownTest, NulShowsWholeStringButLaunchStopsThere) {
  FakePlatform fake;
  std::string output =
      RunOnConsole(fake, Settings(0, "prog\0tail"s, "p\0q"s, "\0dir"s));
  EXPECT_EQ(
      output,
      "  ...done!\r\nLaunch prog\0tail p\0q\r\nin \0dir\r\n\r\n"s + kExecution);
  ASSERT_EQ(fake.launches.size(), 1u);
  EXPECT_EQ(fake.launches[0].name, "prog");
  EXPECT_EQ(fake.launches[0].params, "p");
  EXPECT_EQ(fake.launches[0].directory, "");
}

TEST(CountDownTest, FailedLaunchShowsErrorScreen) {
  const LaunchError errors[] = {
      LaunchError::kFileNotFound,     LaunchError::kPathNotFound,
      LaunchError::kAccessDenied,     LaunchError::kNotValidProgram,
      LaunchError::kOutOfMemory,      LaunchError::kNoAssociation,
      LaunchError::kSharingViolation, LaunchError::kOther,
  };
  for (LaunchError error : errors) {
    SCOPED_TRACE(static_cast<int>(error));
    FakePlatform fake;
    fake.launch_result = {error, 2};
    ScopedFakePlatform scoped(fake);
    EXPECT_EQ(ExitCodeOf([] { CountDownAndLaunch(Settings(0, "x", "", "")); }),
              0);
    const std::string reason = LaunchFailureReason(fake.launch_result);
    EXPECT_FALSE(reason.empty());
    EXPECT_EQ(fake.output.substr(fake.output.find(kExecution)),
              kExecution + "\r\nERROR:  Launch failed: "s + reason +
                  "!\r\n\r\n\r\n /? or ? to help.\r\n\r\n\r\n\r\n"
                  "      \xDA\xC4\xC4\xC4\xC4\xC4\xBF\r\n"
                  "Press \xB3"
                  "Enter\xB3 to close this window...\r\n"
                  "      \xC0\xC4\xC4\xC4\xC4\xC4\xD9\r\n\r\n");
  }
}

TEST(LaunchFailureReasonTest, NamesEachError) {
  struct Row {
    platform::LaunchResult result;
    std::string expected;
  };
  const Row rows[] = {
      {{LaunchError::kNone, 0}, ""},
      {{LaunchError::kFileNotFound, 2}, "file not found"},
      {{LaunchError::kPathNotFound, 3}, "path not found"},
      {{LaunchError::kAccessDenied, 5}, "access denied"},
      {{LaunchError::kNotValidProgram, 11}, "not a valid program"},
      {{LaunchError::kOutOfMemory, 8}, "out of memory"},
      {{LaunchError::kNoAssociation, 31},
       "no program is associated with this file"},
      {{LaunchError::kSharingViolation, 32}, "sharing violation"},
      {{LaunchError::kOther, 42}, "error 42"},
      {{LaunchError::kOther, -7}, "error -7"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.expected);
    EXPECT_EQ(LaunchFailureReason(row.result), row.expected);
  }
}

TEST(LooksLikeUrlTest, SchemeBeforeSlashesOrMailto) {
  struct Row {
    std::string_view name;
    bool expected;
  };
  const Row rows[] = {
      {"http://example.org", true},
      {"svn+ssh://host/repo", true},
      {"mailto:someone@example.org", true},
      {"://nothing", false},
      {"C:\\WINDOWS\\notepad.exe", false},
      {"two words://x", false},
      {"notes.txt", false},
      {"", false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(LooksLikeUrl(row.name), row.expected);
  }
}

}  // namespace
