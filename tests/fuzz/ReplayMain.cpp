// SPDX-License-Identifier: GPL-3.0-or-later
#include "FuzzTarget.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

// Runs a fuzz target over the files of its corpus without libFuzzer, so that
// every input the fuzzers kept, and every one that once broke the game, is
// played again by the normal test suite.
int main(int argc, char **argv)
{
    LLVMFuzzerInitialize(&argc, &argv);

    std::vector<std::filesystem::path> files;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path argument(argv[i]);
        if (std::filesystem::is_directory(argument)) {
            for (const auto &entry : std::filesystem::directory_iterator(argument)) {
                if (entry.is_regular_file())
                    files.push_back(entry.path());
            }
        } else {
            files.push_back(argument);
        }
    }
    // The same order on every run, so a failure repeats exactly.
    std::sort(files.begin(), files.end());

    for (const std::filesystem::path &file : files) {
        std::ifstream stream(file, std::ios::binary);
        const std::vector<char> input{std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
        std::fprintf(stderr, "%s\n", file.c_str());
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t *>(input.data()), input.size());
    }
    std::fprintf(stderr, "%zu inputs replayed\n", files.size());
    // An empty corpus proves nothing: a test that finds no inputs fails.
    return files.empty() ? 1 : 0;
}
