// Runs a fuzz target once over given files and every file of given folders,
// without libFuzzer: what the ordinary and the sanitizer builds use to replay
// the seed corpus and the saved crash inputs. Like libFuzzer it fails when
// the process grew beyond 2 GB, so that an input that made the program
// allocate without bound stays a failure where there is memory enough.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <sys/resource.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

constexpr long kMaxResidentMb = 2048;

long peakResidentMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024; // kilobytes on Linux
}

bool runFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        return false;
    }
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // A copy of exactly the input's size, so that a read past its end is caught.
    std::vector<uint8_t> input(bytes.begin(), bytes.end());
    std::fprintf(stderr, "%s\n", path.c_str());
    LLVMFuzzerTestOneInput(input.data(), input.size());
    if (peakResidentMb() > kMaxResidentMb) {
        std::fprintf(stderr, "%s: the process grew to %ld MB (limit %ld MB)\n", path.c_str(), peakResidentMb(),
                     kMaxResidentMb);
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    int inputs = 0;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path arg(argv[i]);
        std::error_code error;
        if (std::filesystem::is_directory(arg, error)) {
            std::vector<std::filesystem::path> files;
            for (const auto& entry : std::filesystem::directory_iterator(arg))
                if (entry.is_regular_file() && entry.path().filename().string().front() != '.')
                    files.push_back(entry.path());
            std::sort(files.begin(), files.end());
            for (const auto& file : files) {
                if (!runFile(file))
                    return 1;
                ++inputs;
            }
        } else if (std::filesystem::exists(arg, error)) {
            if (!runFile(arg))
                return 1;
            ++inputs;
        } else {
            std::fprintf(stderr, "no such file or folder: %s\n", argv[i]);
            return 1;
        }
    }
    std::printf("%d inputs ran without a fault\n", inputs);
    return 0;
}
