// The work budget of one operation: a recalculation, a drawing or an export of a document.
//
// Counts the real work, not the elements touched: one unit is about one element recalculation,
// one expression word executed (calls included) or one sample of a curve. Whatever repeats work
// (the samples of loci and graphs, the copies of iterations, the members of families) measures
// what one repetition costs and does as many as the budget left allows, so that a hostile file
// gives a coarser result instead of a hang, and an ordinary one is not touched by it.
#pragma once

#include "model/document.h"

#include <cstdint>

namespace qorv {

// Units one operation may spend (about a quarter of a second on this kind of machine).
constexpr int64_t OperationWork = int64_t(1) << 24;
// Words an evaluation may execute even when its operation has spent its budget: more than any
// typed expression needs, calls included.
constexpr int64_t LeastEvaluationWork = 4096;

// Opens an operation for as long as it lives; only the outermost one gives the budget, so that
// a drawing that walks iterations and families spends one budget for all of them.
// Drawing code (Qt's among it) may leave the upper halves of the AVX registers in use: plain SSE
// code, as the engine and the maths library's calls from it, then runs several times slower
// until they are cleared. Each operation starts by clearing them.
inline void settleVectorState() {
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
    static const bool avx = __builtin_cpu_supports("avx");
    if (avx) asm volatile("vzeroupper" ::: "memory");
#endif
}

class WorkScope {
  public:
    explicit WorkScope(const Document& doc) : work_(doc.work) {
        if (work_.depth++ == 0) work_.left = OperationWork;
        settleVectorState();
    }
    ~WorkScope() { --work_.depth; }
    WorkScope(const WorkScope&) = delete;
    WorkScope& operator=(const WorkScope&) = delete;

  private:
    Document::WorkBudget& work_;
};

inline void spendWork(const Document& doc, int64_t units) {
    doc.work.left -= units;
}
inline bool workSpent(const Document& doc) {
    return doc.work.left <= 0;
}
inline int64_t workLeft(const Document& doc) {
    return doc.work.left > 0 ? doc.work.left : 0;
}

} // namespace qorv
