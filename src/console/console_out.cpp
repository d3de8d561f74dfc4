#include "console/console_out.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

ConsoleOutput::ConsoleOutput(platform::OutputKind kind, Sink sink)
    : kind_(kind), sink_(std::move(sink)) {}

void ConsoleOutput::Write(std::string_view text, int width) {
  if (width > 0 && static_cast<std::size_t>(width) > text.size()) {
    std::string padded(static_cast<std::size_t>(width) - text.size(), ' ');
    padded.append(text);
    Append(padded.data(), padded.size());
    return;
  }
  Append(text.data(), text.size());
}

void ConsoleOutput::Write(std::int32_t value) {
  Write(std::string_view(std::to_string(value)));
}

void ConsoleOutput::Write(char byte) { Append(&byte, 1); }

void ConsoleOutput::WriteLine() {
  Append("\r\n", 2);
  Flush();
}

void ConsoleOutput::Flush() {
  if (kind_ == platform::OutputKind::kCharDevice) EmptyBuffer();
}

void ConsoleOutput::WriteOut() { EmptyBuffer(); }

void ConsoleOutput::Append(const char* data, std::size_t size) {
  if (kind_ == platform::OutputKind::kUnusable) return;
  while (size > 0) {
    std::size_t piece = std::min(size, kBufferSize - used_);
    std::memcpy(buffer_ + used_, data, piece);
    used_ += piece;
    data += piece;
    size -= piece;
    // A full buffer goes out at once; after a failed write the rest of the
    // text is dropped with it.
    if (used_ == kBufferSize && !EmptyBuffer()) return;
  }
}

bool ConsoleOutput::EmptyBuffer() {
  if (used_ == 0) return true;
  bool written = sink_(buffer_, used_);
  used_ = 0;  // a failed write drops what was buffered
  return written;
}

namespace {
std::unique_ptr<ConsoleOutput> g_console;
}  // namespace

ConsoleOutput& ConsoleOut() {
  if (!g_console) {
    g_console = std::make_unique<ConsoleOutput>(
        platform::Os().StdoutKind(), [](const char* data, std::size_t size) {
          return platform::Os().WriteStdout(data, size);
        });
  }
  return *g_console;
}

void ResetConsoleOutForTesting() { g_console.reset(); }
