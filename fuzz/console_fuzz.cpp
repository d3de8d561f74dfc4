// Drives the console channel with operations decoded from the input and
// checks what reaches the sink: the same bytes in the same order, in
// pieces no larger than the buffer, handed out only when the buffer is
// full or, on a character device, at a flush.
//
// Input: byte 0 picks the device kind; then each operation is a byte
// followed by its operands.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "console/console_out.h"
#include "platform/platform.h"

namespace {

using platform::OutputKind;
constexpr std::size_t kBuffer = ConsoleOutput::kBufferSize;

void Check(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "check failed: %s\n", what);
  std::abort();
}

class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size)
      : data_(data), size_(size) {}
  bool Empty() const { return at_ == size_; }
  std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
  std::string_view Bytes(std::size_t count) {
    count = std::min(count, size_ - at_);
    std::string_view bytes(reinterpret_cast<const char*>(data_) + at_, count);
    at_ += count;
    return bytes;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

// Plain digit-by-digit formatting, wide enough for the lowest value.
std::string Decimal(std::int32_t value) {
  std::int64_t rest = value;
  bool negative = rest < 0;
  if (negative) rest = -rest;
  std::string digits;
  do {
    digits.insert(digits.begin(), static_cast<char>('0' + rest % 10));
    rest /= 10;
  } while (rest != 0);
  return negative ? "-" + digits : digits;
}

struct Recorder {
  explicit Recorder(OutputKind device) : kind(device) {}

  OutputKind kind;
  std::string written;           // everything handed to the channel so far
  std::size_t sunk = 0;          // how much of it reached the sink
  int short_pieces_allowed = 0;  // in the operation under way

  bool Take(const char* data, std::size_t size) {
    Check(kind != OutputKind::kUnusable, "an unusable channel wrote");
    Check(size <= kBuffer, "a piece larger than the buffer");
    if (size < kBuffer) {
      Check(short_pieces_allowed > 0,
            "a short piece while the buffer was not full");
      --short_pieces_allowed;
    }
    Check(sunk + size <= written.size() &&
              written.compare(sunk, size, data, size) == 0,
          "the sink got bytes that were not written next");
    sunk += size;
    return true;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  Input input(data, size);
  constexpr OutputKind kKinds[] = {OutputKind::kCharDevice, OutputKind::kOther,
                                   OutputKind::kUnusable};
  Recorder recorder(kKinds[input.Byte() % 3]);
  ConsoleOutput out(recorder.kind,
                    [&recorder](const char* bytes, std::size_t n) {
                      return recorder.Take(bytes, n);
                    });
  const bool char_device = recorder.kind == OutputKind::kCharDevice;

  while (!input.Empty()) {
    std::uint8_t op = input.Byte() % 5;
    std::size_t sunk_before = recorder.sunk;
    recorder.short_pieces_allowed = 0;
    // The bytes are recorded first, so the sink can check each piece.
    switch (op) {
      case 0: {
        // Widths below zero, inside the buffer and past it.
        int width = input.Byte() * 2 - 64;
        std::string_view text = input.Bytes(input.Byte());
        if (width > 0 && static_cast<std::size_t>(width) > text.size()) {
          recorder.written.append(width - text.size(), ' ');
        }
        recorder.written.append(text);
        out.Write(text, width);
        break;
      }
      case 1: {
        std::uint32_t bits = 0;
        for (int i = 0; i < 4; ++i) bits = bits << 8 | input.Byte();
        std::int32_t value = static_cast<std::int32_t>(bits);
        recorder.written.append(Decimal(value));
        out.Write(value);
        break;
      }
      case 2: {
        char byte = static_cast<char>(input.Byte());
        recorder.written.push_back(byte);
        out.Write(byte);
        break;
      }
      case 3:
        recorder.written.append("\r\n");
        recorder.short_pieces_allowed = char_device ? 1 : 0;
        out.WriteLine();
        break;
      case 4:
        recorder.short_pieces_allowed = char_device ? 1 : 0;
        out.Flush();
        Check(char_device || recorder.sunk == sunk_before,
              "Flush wrote on a disk file or pipe");
        break;
    }
    if (recorder.kind == OutputKind::kUnusable) continue;
    std::size_t pending = recorder.written.size() - recorder.sunk;
    Check(pending < kBuffer, "a full buffer was held back");
    Check(!char_device || op < 3 || pending == 0,
          "a line end or flush on a character device left bytes behind");
  }

  recorder.short_pieces_allowed = 1;
  out.WriteOut();
  if (recorder.kind != OutputKind::kUnusable) {
    Check(recorder.sunk == recorder.written.size(),
          "not everything written reached the sink");
  }
  return 0;
}
