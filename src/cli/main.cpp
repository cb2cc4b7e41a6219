#include <cstdio>
#include <cstring>

namespace {
int usage() {
    std::fprintf(stderr, "usage: qorv-cli COMMAND ...\n");
    return 2;
}
} // namespace

int main(int argc, char** argv) {
    if (argc < 2) return usage();
    return usage();
}
