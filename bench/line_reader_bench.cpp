// Line reader and delay conversion against the cheapest possible scan.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <string_view>

#include "settings/int_conversion.h"
#include "settings/line_reader.h"

namespace {

constexpr std::size_t kTextSize = 64u << 20;

// Hands out a text in memory the way a file read would: copied out.
class MemorySource : public ByteSource {
 public:
  explicit MemorySource(std::string_view text) : text_(text) {}
  platform::ReadResult Read(char* buffer, std::size_t size) override {
    std::size_t count = std::min(size, text_.size() - at_);
    std::memcpy(buffer, text_.data() + at_, count);
    at_ += count;
    return {count, false};
  }

 private:
  std::string_view text_;
  std::size_t at_ = 0;
};

struct Text {
  std::string bytes;
  std::size_t lines = 0;
};

// Printable bytes only, so no CR or Ctrl-Z ends a line early.
char RandomPrintable(std::mt19937& random) {
  return static_cast<char>(std::uniform_int_distribution<int>(0x20, 0x7E)(random));
}

const Text& ManyLines() {
  static const Text text = [] {
    Text made;
    made.bytes.reserve(kTextSize);
    std::mt19937 random(7);
    std::uniform_int_distribution<int> length(80, 120);
    while (made.bytes.size() + 122 <= kTextSize) {
      for (int n = length(random); n > 0; --n) made.bytes.push_back(RandomPrintable(random));
      made.bytes.append("\r\n");
      ++made.lines;
    }
    return made;
  }();
  return text;
}

const Text& OneLine() {
  static const Text text = [] {
    Text made;
    made.bytes.reserve(kTextSize);
    std::mt19937 random(7);
    while (made.bytes.size() + 2 < kTextSize) made.bytes.push_back(RandomPrintable(random));
    made.bytes.append("\r\n");
    made.lines = 1;
    return made;
  }();
  return text;
}

const Text& TextFor(const benchmark::State& state) {
  return state.range(0) == 0 ? ManyLines() : OneLine();
}

// The floor: finding every CR, nothing copied.
void BM_MemchrScan(benchmark::State& state) {
  const Text& text = TextFor(state);
  for (auto _ : state) {
    const char* at = text.bytes.data();
    const char* end = at + text.bytes.size();
    std::size_t lines = 0;
    while (const void* cr = std::memchr(at, '\r', end - at)) {
      at = static_cast<const char*>(cr) + 1;
      ++lines;
    }
    if (lines != text.lines) state.SkipWithError("memchr scan miscounted lines");
    benchmark::DoNotOptimize(lines);
  }
  state.SetBytesProcessed(state.iterations() * text.bytes.size());
  state.SetLabel(state.range(0) == 0 ? "many lines" : "one line");
}

// What any reader that hands out each line as a new string must pay at
// least: the scan above plus one copy into fresh storage per line.
void BM_CopyOutFloor(benchmark::State& state) {
  const Text& text = TextFor(state);
  for (auto _ : state) {
    const char* at = text.bytes.data();
    const char* end = at + text.bytes.size();
    while (const void* cr = std::memchr(at, '\r', end - at)) {
      std::string line(at, static_cast<const char*>(cr));
      benchmark::DoNotOptimize(line.data());
      at = static_cast<const char*>(cr) + 2;
    }
  }
  state.SetBytesProcessed(state.iterations() * text.bytes.size());
  state.SetLabel(state.range(0) == 0 ? "many lines" : "one line");
}

// The reader's other fixed cost: the source copying out, block by block.
void BM_SourceCopy(benchmark::State& state) {
  const Text& text = TextFor(state);
  std::string block(LineReader::kDefaultBlockSize, '\0');
  for (auto _ : state) {
    MemorySource source(text.bytes);
    while (source.Read(block.data(), block.size()).count > 0) {
      benchmark::DoNotOptimize(block.data());
    }
  }
  state.SetBytesProcessed(state.iterations() * text.bytes.size());
  state.SetLabel(state.range(0) == 0 ? "many lines" : "one line");
}

void BM_LineReader(benchmark::State& state) {
  const Text& text = TextFor(state);
  // Every byte but the line ends comes back in some line.
  const std::size_t expected = text.bytes.size() - 2 * text.lines;
  for (auto _ : state) {
    MemorySource source(text.bytes);
    LineReader reader(source);
    std::size_t bytes = 0;
    std::string line;  // reused, as a caller reading many lines would
    for (std::size_t i = 0; i < text.lines; ++i) {
      reader.ReadLine(line);
      benchmark::DoNotOptimize(line.data());
      bytes += line.size();
    }
    if (bytes != expected) state.SkipWithError("reader lost bytes");
  }
  state.counters["lines"] = static_cast<double>(text.lines);
  state.SetBytesProcessed(state.iterations() * text.bytes.size());
  state.SetLabel(state.range(0) == 0 ? "many lines" : "one line");
}

// Delay lines as people write them, a few of them wrong.
void BM_ConvertInteger(benchmark::State& state) {
  static const std::string_view kLines[] = {
      "0",     "10",         " 10",         "$0A",         "-1",
      "3600",  "2147483647", "-2147483647", "$FFFFFFFF",   "10 ",
      "abc",   "",           "2147483648",  "0000000010", "+5",
  };
  std::int64_t converted = 0;
  for (auto _ : state) {
    for (std::string_view line : kLines) {
      benchmark::DoNotOptimize(line.data());
      std::optional<std::int32_t> value = ConvertInteger(line);
      converted += value.has_value();
      benchmark::DoNotOptimize(value);
    }
  }
  benchmark::DoNotOptimize(converted);
  state.SetItemsProcessed(state.iterations() * std::size(kLines));
}

BENCHMARK(BM_MemchrScan)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyOutFloor)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SourceCopy)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LineReader)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertInteger);

}  // namespace

BENCHMARK_MAIN();
