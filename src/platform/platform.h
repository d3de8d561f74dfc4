// The one seam between the program and the operating system.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

enum class OutputKind {
  kUnusable,    // no handle: every write is dropped
  kCharDevice,  // a console or the null device
  kOther,       // a disk file or a pipe
};

/// One read: `count` bytes, or end of input (count 0), or a failure.
struct ReadResult {
  std::size_t count = 0;
  bool failed = false;
};

/// The command line as the OS hands it over: raw (Windows) or split (POSIX).
struct CommandLine {
  bool is_raw = false;
  std::string raw;
  std::vector<std::string> argv;
};

enum class LaunchError {
  kNone,
  kFileNotFound,
  kPathNotFound,
  kAccessDenied,
  kNotValidProgram,
  kOutOfMemory,
  kNoAssociation,
  kSharingViolation,
  kOther,  // see `code`
};

struct LaunchResult {
  LaunchError error = LaunchError::kNone;
  long code = 0;  // the OS's own code, for kOther
};

using FileHandle = std::intptr_t;
inline constexpr FileHandle kNoFile = -1;

class Platform {
 public:
  virtual ~Platform() = default;

  virtual CommandLine Arguments() = 0;

  /// Asked once, when the console channel opens.
  virtual OutputKind StdoutKind() = 0;
  /// Writes all bytes; false when a write failed (the rest is not retried).
  virtual bool WriteStdout(const char* data, std::size_t size) = 0;
  /// End of input, a broken pipe and a failure all come back as count 0.
  virtual ReadResult ReadStdin(char* buffer, std::size_t size) = 0;
  /// Whether a bare LF ends a line typed at the Enter prompt.
  virtual bool LineFeedEndsInput() = 0;

  /// Opens an existing regular file read-only, others may read but not
  /// write it; kNoFile on any failure.
  virtual FileHandle OpenSettingsFile(const char* name) = 0;
  /// A broken pipe counts as the end of the file.
  virtual ReadResult ReadFromFile(FileHandle file, char* buffer,
                                  std::size_t size) = 0;
  virtual void CloseFile(FileHandle file) = 0;

  virtual void SleepMilliseconds(unsigned milliseconds) = 0;

  /// Hands a program or document to the OS without waiting for it.
  /// The strings end at their first NUL, as the OS sees them.
  virtual LaunchResult Launch(const char* name, const char* params,
                              const char* directory) = 0;

  /// Path of the running executable, as the OS reports it.
  virtual std::string ModulePath() = 0;
  /// Offset of a code address from the executable's load address.
  virtual std::uint32_t CodeOffset(const void* address) = 0;

  /// Ends the process at once; nothing is written out here.
  [[noreturn]] virtual void Exit(int code) = 0;
};

/// Hands main's arguments to the platforms that split them before main.
void SetMainArguments(int argc, char** argv);

/// The platform in use: the real one unless a test installed another.
Platform& Os();
/// Installs `replacement` (nullptr restores the real one); returns the old.
Platform* SetOsForTesting(Platform* replacement);

/// The real platform of this build.
Platform& NativePlatform();

}  // namespace platform
