#include "workspace/vector_level.h"

#if defined(_MSC_VER) && !defined(__clang__) && (defined(_M_X64) || defined(_M_IX86))
#include <intrin.h>
#define COIFFURE_X86_MSVC 1
#elif defined(__x86_64__) || defined(__i386__)
#define COIFFURE_X86_GCC 1
#endif

namespace coiffure {

namespace {

VectorLevel ProcessorLevel() {
#if defined(COIFFURE_X86_MSVC)
  int info[4];
  __cpuid(info, 1);
  return (info[2] & (1 << 9)) != 0 ? VectorLevel::kSsse3 : VectorLevel::kBaseline;
#elif defined(COIFFURE_X86_GCC)
  return __builtin_cpu_supports("ssse3") ? VectorLevel::kSsse3 : VectorLevel::kBaseline;
#else
  return VectorLevel::kBaseline;
#endif
}

VectorLevel& Current() {
  static VectorLevel level = ProcessorLevel();
  return level;
}

}  // namespace

VectorLevel AvailableVectorLevel() {
  return Current();
}

void CapVectorLevel(VectorLevel cap) {
  Current() = static_cast<int>(cap) < static_cast<int>(ProcessorLevel()) ? cap : ProcessorLevel();
}

}  // namespace coiffure
