// Writes generated hostile documents into a folder, as a seed corpus for the fuzz targets:
//   qorv_docgen FOLDER [COUNT [FIRST_SEED]] [--ops]
// Each file is one document (qorv_docfile_fuzzer's input); with --ops each is wrapped, with a few
// operation bytes, as an input of qorv_ops_fuzzer (documents too long for its 16-bit length are
// left out).
#include "fuzz/docgen.h"
#include "fuzz/opsdriver.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    bool ops = false;
    std::erase_if(args, [&](const std::string& a) { return a == "--ops" ? (ops = true) : false; });
    if (args.empty() || args.size() > 3) {
        std::fprintf(stderr, "uso: qorv_docgen CARPETA [CANTIDAD [PRIMERA_SEMILLA]] [--ops]\n");
        return 2;
    }
    const uint64_t count = args.size() > 1 ? std::strtoull(args[1].c_str(), nullptr, 10) : 1000;
    const uint64_t first = args.size() > 2 ? std::strtoull(args[2].c_str(), nullptr, 10) : 1;
    std::error_code ec;
    std::filesystem::create_directories(args[0], ec);
    uint64_t written = 0;
    for (uint64_t seed = first; seed < first + count; ++seed) {
        std::vector<uint8_t> file = qorv::fuzz::generateDocument(seed);
        if (ops) {
            if (file.size() >= 0xffff) continue;
            // Operations that reach deletion, undo, paste and saving, varied by the seed.
            const std::vector<uint8_t> operations = {uint8_t(seed % qorv::fuzz::Op::Count),
                                                     uint8_t(seed >> 3),
                                                     0,
                                                     qorv::fuzz::Op::RecordUndoStep,
                                                     qorv::fuzz::Op::Delete,
                                                     uint8_t(seed >> 7),
                                                     0,
                                                     qorv::fuzz::Op::Undo,
                                                     qorv::fuzz::Op::SaveAndReadBack,
                                                     3};
            file = qorv::fuzz::operationsInput(file, operations);
        }
        const auto path = std::filesystem::path(args[0]) / ("gen" + std::to_string(seed));
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
        ++written;
    }
    std::printf("%llu\n", static_cast<unsigned long long>(written));
    return 0;
}
