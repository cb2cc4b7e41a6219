// Writes the spread construction of the drag benchmarks as a document, for measuring the web page
// in a browser (scripts/measure-web.sh): qorv_bench_document ELEMENTS FILE prints the id of the
// free point that moves every block, and its position.
#include "generator.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: qorv_bench_document ELEMENTS FILE\n");
        return 2;
    }
    qorv::Document doc;
    const qorv::Element* driver =
        qorv::bench::saveMixedConstruction(doc, std::atoi(argv[1]), argv[2]);
    if (!driver) return 1;
    std::printf("%d %.17g %.17g %d\n", driver->id, driver->value[0], driver->value[1],
                doc.elementCount());
    return 0;
}
