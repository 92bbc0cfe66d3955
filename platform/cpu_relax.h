// The processor's hint for a thread that spins on a flag another thread will
// set: it saves power and frees the core's shared resources meanwhile.
#ifndef FENMARQ_PLATFORM_CPU_RELAX_H_
#define FENMARQ_PLATFORM_CPU_RELAX_H_

#if defined(__x86_64__) || defined(__i386__) || defined(_M_X64) || defined(_M_IX86)
#include <immintrin.h>
#endif

namespace fenmarq {

inline void relaxCpu() {
#if defined(__x86_64__) || defined(__i386__) || defined(_M_X64) || defined(_M_IX86)
  _mm_pause();
#elif defined(__aarch64__) && (defined(__GNUC__) || defined(__clang__))
  __asm__ __volatile__("yield");
#endif
}

}  // namespace fenmarq

#endif  // FENMARQ_PLATFORM_CPU_RELAX_H_
