#include "fake_platform.h"

#include <algorithm>
#include <cstring>

#include "console/console_out.h"

bool FakePlatform::WriteStdout(const char* data, std::size_t size) {
  if (fail_writes) return false;
  writes.emplace_back(data, size);
  output.append(data, size);
  return true;
}

platform::ReadResult FakePlatform::ReadStdin(char* buffer, std::size_t size) {
  std::size_t count = std::min(size, input.size() - input_taken);
  std::memcpy(buffer, input.data() + input_taken, count);
  input_taken += count;
  return {count, false};
}

platform::FileHandle FakePlatform::OpenSettingsFile(const char* name) {
  opened.push_back(name);
  auto found = files.find(name);
  if (found == files.end()) return platform::kNoFile;
  open_files_.emplace_back(found->second, 0);
  return static_cast<platform::FileHandle>(open_files_.size() - 1);
}

platform::ReadResult FakePlatform::ReadFromFile(platform::FileHandle file,
                                                char* buffer, std::size_t size) {
  auto& [content, at] = open_files_.at(static_cast<std::size_t>(file));
  std::size_t count = std::min(size, content.size() - at);
  if (file_read_limit > 0) count = std::min(count, file_read_limit);
  std::memcpy(buffer, content.data() + at, count);
  at += count;
  return {count, false};
}

void FakePlatform::SleepMilliseconds(unsigned milliseconds) {
  sleeps.push_back(milliseconds);
  output_at_sleep.push_back(output.size());
}

platform::LaunchResult FakePlatform::Launch(const char* name, const char* params,
                                            const char* directory) {
  launches.push_back({name, params, directory});
  return launch_result;
}

ScopedFakePlatform::ScopedFakePlatform(FakePlatform& fake)
    : previous_(platform::SetOsForTesting(&fake)) {
  ResetConsoleOutForTesting();
}

ScopedFakePlatform::~ScopedFakePlatform() {
  ResetConsoleOutForTesting();
  platform::SetOsForTesting(previous_);
}

std::optional<int> ExitCodeOf(const std::function<void()>& body) {
  try {
    body();
  } catch (const ExitCalled& exit) {
    return exit.code;
  }
  return std::nullopt;
}
