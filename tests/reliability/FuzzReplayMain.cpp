// Runs a fuzz target over every file in the folders it is given, as the normal test suite's
// check that the seeds and the inputs of past findings still pass: a target aborts on a wrong
// result, and the sanitized build catches what goes wrong in memory. The first folder, the
// seeds, must hold inputs; a later one (the findings) may not exist yet.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv)
{
    int inputs = 0;
    for (int i = 1; i < argc; ++i) {
        if (i > 1 && !std::filesystem::exists(argv[i]))
            continue;
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(argv[i], error)) {
            if (!entry.is_regular_file())
                continue;
            std::ifstream in(entry.path(), std::ios::binary);
            const std::vector<std::uint8_t> bytes {
                std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
            std::cout << entry.path().string() << '\n';
            LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
            ++inputs;
        }
        if (error || (i == 1 && inputs == 0)) {
            std::cerr << argv[i] << ": " << (error ? error.message() : "no inputs") << '\n';
            return 1;
        }
    }
    std::cout << inputs << " inputs passed\n";
    return 0;
}
