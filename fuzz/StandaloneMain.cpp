// Runs a fuzz target once over every file below the folders (or files) it is given.
// Missing folders are skipped, so the seed run passes where the shared corpora are absent.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

static void RunFile(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

int main(int argc, char** argv)
{
    namespace fs = std::filesystem;
    std::size_t count = 0;
    for (int i = 1; i < argc; ++i) {
        const fs::path root(argv[i]);
        std::error_code ec;
        if (fs::is_regular_file(root, ec)) {
            RunFile(root);
            ++count;
        } else if (fs::is_directory(root, ec)) {
            for (const auto& e : fs::recursive_directory_iterator(root, ec)) {
                if (e.is_regular_file()) {
                    RunFile(e.path());
                    ++count;
                }
            }
        }
    }
    std::printf("ran %zu inputs\n", count);
    return 0;
}
