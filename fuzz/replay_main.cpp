// Runs a fuzz target's checks over files, without libFuzzer: each argument
// is a file or a directory of files, and each file is one input. Used by the
// test suite to replay the committed corpora (and any crash found and kept
// there) with every compiler the project builds with.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

std::size_t replay(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    std::size_t inputs = 0;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path path(argv[i]);
        if (std::filesystem::is_directory(path)) {
            std::vector<std::filesystem::path> files;
            for (const auto& entry : std::filesystem::directory_iterator(path))
                if (entry.is_regular_file())
                    files.push_back(entry.path());
            for (const auto& file : files)
                inputs += replay(file);
        } else if (std::filesystem::is_regular_file(path)) {
            inputs += replay(path);
        } else {
            std::fprintf(stderr, "%s: not a file or directory\n", argv[i]);
            return 2;
        }
    }
    std::printf("%zu inputs replayed\n", inputs);
    // A corpus that has gone missing must not pass as checked.
    return inputs > 0 ? 0 : 1;
}
