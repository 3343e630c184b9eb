// Runs a harness over the files it is given (files, or folders read
// recursively), each once, without the fuzzing engine: the committed corpus
// and every input that once broke a reader run as regression inputs in the
// normal test run, built by any compiler. A broken guarantee aborts in the
// harness; the name of the input is printed before it runs.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

std::vector<std::filesystem::path> InputsOf(const std::filesystem::path& where) {
    namespace fs = std::filesystem;
    std::vector<fs::path> files;
    if (fs::is_directory(where)) {
        for (const auto& entry : fs::recursive_directory_iterator(where)) {
            if (entry.is_regular_file()) files.push_back(entry.path());
        }
    } else if (fs::is_regular_file(where)) {
        files.push_back(where);
    }
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

int main(int argc, char** argv) {
    size_t replayed = 0;
    for (int i = 1; i < argc; ++i) {
        for (const auto& file : InputsOf(argv[i])) {
            std::printf("%s\n", file.c_str());
            std::fflush(stdout);
            std::ifstream in(file, std::ios::binary);
            const std::string bytes{std::istreambuf_iterator<char>(in),
                                    std::istreambuf_iterator<char>()};
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
            ++replayed;
        }
    }
    std::printf("%zu inputs replayed\n", replayed);
    // An empty or mistyped corpus folder must not pass as a clean run.
    return replayed > 0 ? 0 : 1;
}
