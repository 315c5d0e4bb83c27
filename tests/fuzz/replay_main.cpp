// Runs a fuzz target over the files of its corpus, without the fuzzing
// engine: the regression check of the quick test suite, which any compiler
// can build.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

void run_file(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 0;
  for (int i = 1; i < argc; ++i) {
    std::filesystem::path path(argv[i]);
    if (!std::filesystem::exists(path)) continue;  // no findings kept yet
    if (std::filesystem::is_directory(path)) {
      for (const auto& entry : std::filesystem::recursive_directory_iterator(path))
        if (entry.is_regular_file()) {
          run_file(entry.path());
          ++runs;
        }
    } else {
      run_file(path);
      ++runs;
    }
  }
  std::printf("%d inputs ran\n", runs);
  return runs > 0 ? 0 : 1;
}
