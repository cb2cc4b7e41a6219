// libFuzzer target for the editing operations on a document read from a file (see opsdriver.h).
#include "opsdriver.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string failure = qorv::fuzz::runDocumentOperations(data, size);
    if (!failure.empty()) {
        std::fprintf(stderr, "document operations: %s\n", failure.c_str());
        std::abort();
    }
    return 0;
}
