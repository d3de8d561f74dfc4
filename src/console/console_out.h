// The buffered standard-output channel all program text goes through.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>

#include "platform/platform.h"

class ConsoleOutput {
 public:
  static constexpr std::size_t kBufferSize = 128;
  /// Writes bytes out; false when the write failed.
  using Sink = std::function<bool(const char* data, std::size_t size)>;

  ConsoleOutput(platform::OutputKind kind, Sink sink);

  /// Right-aligns `text` in `width` columns with leading blanks; a longer
  /// text is written whole.
  void Write(std::string_view text, int width = 0);
  void Write(std::int32_t value);
  void Write(char byte);
  /// CR LF, then Flush().
  void WriteLine();
  /// Writes the buffer out, on a character device only.
  void Flush();
  /// Writes the buffer out whatever the device: at the end of the process.
  void WriteOut();

 private:
  void Append(const char* data, std::size_t size);
  bool EmptyBuffer();

  platform::OutputKind kind_;
  Sink sink_;
  char buffer_[kBufferSize];
  std::size_t used_ = 0;
};

/// The process-wide channel on standard output, opened on first use.
ConsoleOutput& ConsoleOut();
/// Forgets the channel so the next ConsoleOut() opens it again.
void ResetConsoleOutForTesting();
