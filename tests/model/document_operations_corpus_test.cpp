// Replays the corpus of the operations fuzz target: every kept input runs the same operation
// driver as the fuzzer, so that the cases it found stay covered by the ordinary (and the
// sanitized) test run.
#include "fuzz/opsdriver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

TEST(DocumentOperationsCorpus, EveryKeptInputRunsClean) {
    const fs::path dir = fs::path(QORV_SOURCE_DIR) / "tests/fuzz/corpus/ops";
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(dir))
        if (entry.is_regular_file()) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    // The corpus is kept in the repository; an empty one means it was lost.
    ASSERT_GE(files.size(), 50u);
    for (const fs::path& p : files) {
        std::ifstream f(p, std::ios::binary);
        const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(f), {}};
        EXPECT_EQ(qorv::fuzz::runDocumentOperations(bytes.data(), bytes.size()), "")
            << p.filename();
    }
}
