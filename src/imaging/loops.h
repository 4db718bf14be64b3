// Which inner loops the companion's picture work runs: the plain ones, SSE2 (every x86-64
// processor has it) or AVX2 where the processor and the system offer it. Every form gives the
// same bits as the plain one.
#pragma once

#include <vector>

// COIFFURE_PLAIN_LOOPS builds the plain loops alone, as a processor without them would.
#if (defined(__x86_64__) || defined(_M_X64)) && !defined(COIFFURE_PLAIN_LOOPS)
#define COIFFURE_X86_64 1
// GCC and Clang compile a function for AVX2 only when asked; MSVC compiles the intrinsics
// anywhere.
#if defined(__GNUC__) || defined(__clang__)
#define COIFFURE_TARGET_AVX2 __attribute__((target("avx2")))
#else
#define COIFFURE_TARGET_AVX2
#endif
#endif

namespace coiffure {

enum class Loops { kPlain, kSse2, kAvx2 };

// The widest loops this processor runs (the plain ones off x86-64).
Loops BestLoops();

// Every form this processor runs, the plain one first.
std::vector<Loops> RunnableLoops();

}  // namespace coiffure
