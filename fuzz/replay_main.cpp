// Runs a fuzz target without libFuzzer: each file named on the command line,
// and each file inside each folder named, is passed once to the target.
// Exits 0 when every input ran (a failed check aborts), 1 when an argument
// cannot be read or no input was found.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

bool runFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    std::fprintf(stderr, "cannot read %s\n", path.string().c_str());
    return false;
  }
  const std::vector<char> bytes((std::istreambuf_iterator<char>(file)),
                                std::istreambuf_iterator<char>());
  LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::size_t inputs = 0;
  bool ok = true;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path arg(argv[i]);
    std::error_code error;
    if (std::filesystem::is_directory(arg, error)) {
      std::vector<std::filesystem::path> files;
      for (const auto& entry : std::filesystem::directory_iterator(arg, error)) {
        if (entry.is_regular_file()) files.push_back(entry.path());
      }
      if (error) {
        std::fprintf(stderr, "cannot list %s\n", arg.string().c_str());
        ok = false;
      }
      std::sort(files.begin(), files.end());
      for (const auto& file : files) {
        ok = runFile(file) && ok;
        ++inputs;
      }
    } else {
      ok = runFile(arg) && ok;
      ++inputs;
    }
  }
  std::printf("%zu inputs run\n", inputs);
  return ok && inputs > 0 ? 0 : 1;
}
