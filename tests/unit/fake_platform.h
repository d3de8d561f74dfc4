// A platform that records what the program asks of the OS.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

/// Thrown by FakePlatform::Exit so that paths that end the process can be
/// followed in a test.
struct ExitCalled {
  int code;
};

class FakePlatform : public platform::Platform {
 public:
  struct Launched {
    std::string name;
    std::string params;
    std::string directory;
  };

  // What the program sees.
  platform::CommandLine command_line;
  platform::OutputKind stdout_kind = platform::OutputKind::kOther;
  bool fail_writes = false;
  std::string input;
  bool lf_ends_input = true;
  std::map<std::string, std::string> files;  // by name
  std::size_t file_read_limit = 0;           // 0: as much as asked
  platform::LaunchResult launch_result;
  std::string module_path = "C:\\Programs\\tolvarin.exe";
  std::uint32_t code_offset = 0x1234ABCD;

  // What the program did.
  std::string output;
  std::vector<std::string> writes;
  std::size_t input_taken = 0;
  std::vector<std::string> opened;
  std::vector<platform::FileHandle> closed;
  std::vector<unsigned> sleeps;
  std::vector<Launched> launches;
  /// output's length when each sleep began.
  std::vector<std::size_t> output_at_sleep;

  platform::CommandLine Arguments() override { return command_line; }
  platform::OutputKind StdoutKind() override { return stdout_kind; }
  bool WriteStdout(const char* data, std::size_t size) override;
  platform::ReadResult ReadStdin(char* buffer, std::size_t size) override;
  bool LineFeedEndsInput() override { return lf_ends_input; }
  platform::FileHandle OpenSettingsFile(const char* name) override;
  platform::ReadResult ReadFromFile(platform::FileHandle file, char* buffer,
                                    std::size_t size) override;
  void CloseFile(platform::FileHandle file) override { closed.push_back(file); }
  void SleepMilliseconds(unsigned milliseconds) override;
  platform::LaunchResult Launch(const char* name, const char* params,
                                const char* directory) override;
  std::string ModulePath() override { return module_path; }
  std::uint32_t CodeOffset(const void*) override { return code_offset; }
  [[noreturn]] void Exit(int code) override { throw ExitCalled{code}; }

 private:
  std::vector<std::pair<std::string, std::size_t>> open_files_;
};

/// A command line as Windows hands it over, whole.
inline platform::CommandLine RawCommandLine(std::string line) {
  platform::CommandLine command_line;
  command_line.is_raw = true;
  command_line.raw = std::move(line);
  return command_line;
}

/// A command line as POSIX hands it over, split.
inline platform::CommandLine ArgvCommandLine(std::vector<std::string> argv) {
  platform::CommandLine command_line;
  command_line.argv = std::move(argv);
  return command_line;
}

/// Puts a FakePlatform in place, with a fresh console channel, for the
/// lifetime of the object.
class ScopedFakePlatform {
 public:
  explicit ScopedFakePlatform(FakePlatform& fake);
  ~ScopedFakePlatform();

 private:
  platform::Platform* previous_;
};

/// Runs `body` to the fake Exit; the exit code, or nothing when it returned.
std::optional<int> ExitCodeOf(const std::function<void()>& body);
