// Writes the benchmark corpus to a file, each status followed by a zero byte,
// so it can be looked at or fed to other tools.
//   make_status_corpus <output file> [seed] [count]
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "bench/status_corpus.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s <output file> [seed] [count]\n", argv[0]);
    return 2;
  }
  const auto seed =
      argc > 2 ? static_cast<std::uint32_t>(std::strtoul(argv[2], nullptr, 10)) : 20240611u;
  const auto count =
      argc > 3 ? static_cast<std::size_t>(std::strtoul(argv[3], nullptr, 10)) : std::size_t{1000};
  const auto corpus = brisko::bench::makeStatusCorpus(seed, count);
  std::ofstream out(argv[1], std::ios::binary);
  for (const std::string& status : corpus) {
    out.write(status.data(), static_cast<std::streamsize>(status.size()));
    out.put('\0');
  }
  if (!out) {
    std::fprintf(stderr, "cannot write %s\n", argv[1]);
    return 1;
  }
  std::printf("%zu statuses, %zu bytes\n", corpus.size(), brisko::bench::totalBytes(corpus));
  return 0;
}
