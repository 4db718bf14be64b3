#include "imaging/loops.h"

#if defined(COIFFURE_X86_64) && defined(_MSC_VER) && !defined(__clang__)
#include <immintrin.h>
#include <intrin.h>
#endif

namespace coiffure {

#ifdef COIFFURE_X86_64
namespace {

bool HasAvx2() {
#if defined(__GNUC__) || defined(__clang__)
  // Also checks that the system saves the wide registers.
  return __builtin_cpu_supports("avx2");
#else
  int regs[4];
  __cpuid(regs, 0);
  if (regs[0] < 7) return false;
  __cpuid(regs, 1);
  const bool osxsave = (regs[2] >> 27) & 1, avx = (regs[2] >> 28) & 1;
  if (!osxsave || !avx || (_xgetbv(0) & 6) != 6) return false;
  __cpuidex(regs, 7, 0);
  return (regs[1] >> 5) & 1;
#endif
}

}  // namespace
#endif

Loops BestLoops() {
#ifdef COIFFURE_X86_64
  static const Loops best = HasAvx2() ? Loops::kAvx2 : Loops::kSse2;
  return best;
#else
  return Loops::kPlain;
#endif
}

std::vector<Loops> RunnableLoops() {
  std::vector<Loops> all{Loops::kPlain};
#ifdef COIFFURE_X86_64
  all.push_back(Loops::kSse2);
  if (BestLoops() == Loops::kAvx2) all.push_back(Loops::kAvx2);
#endif
  return all;
}

}  // namespace coiffure
