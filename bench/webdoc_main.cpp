// Writes the spread construction of the drag benchmarks as a document, for measuring the web page
// in a browser (scripts/measure-web.sh): qorv_bench_document ELEMENTS FILE prints the id of the
// free point that moves every block, and its position.
#include "generator.h"

#include "geometry/recalc.h"
#include "model/docfile.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: qorv_bench_document ELEMENTS FILE\n");
        return 2;
    }
    qorv::Document doc;
    qorv::Element* driver = qorv::bench::buildMixedConstruction(doc, std::atoi(argv[1]));
    doc.left = qorv::bench::ViewLeft;
    doc.top = qorv::bench::ViewTop;
    recalcUpTo(doc);
    if (!qorv::saveDocument(doc, argv[2])) return 1;
    std::printf("%d %.17g %.17g %d\n", driver->id, driver->value[0], driver->value[1],
                doc.elementCount());
    return 0;
}
