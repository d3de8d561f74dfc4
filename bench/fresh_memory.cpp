// Writes N MiB of newly allocated memory once: what holding an N MiB line
// costs on this machine before any reading is done.
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
  std::size_t size = (argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 256) << 20;
  char* memory = static_cast<char*>(std::malloc(size));
  if (!memory) return 2;
  std::memset(memory, 'x', size);
  // Read back so the writes cannot be dropped.
  return memory[size / 2] == 'x' ? 0 : 1;
}
