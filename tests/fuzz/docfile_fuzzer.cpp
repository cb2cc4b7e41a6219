// libFuzzer target for the document and macro file reader.
#include "geometry/recalc.h"
#include "model/docfile.h"

#include <cstdint>
#include <cstdlib>

using namespace qorv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Document doc;
    const ReadResult r = readDocumentData(doc, data, size, FileType::Document);
    if (r.kind == FileKind::Document) {
        // What is accepted writes a file that reads back to the same bytes.
        const auto bytes = encodeDocument(doc);
        Document again;
        if (readDocumentData(again, bytes.data(), bytes.size(), FileType::Document).kind !=
                FileKind::Document ||
            encodeDocument(again) != bytes)
            std::abort();
        recalcUpTo(doc);
        while (doc.head)
            doc.deleteWithDescendants(doc.head);
    }
    Document macros;
    readDocumentData(macros, data, size, FileType::Macro);
    return 0;
}
