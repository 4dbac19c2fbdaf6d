#include "common/line_end.hpp"

#include <bit>
#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define PLIEGO_SSE2 1
#endif
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define PLIEGO_AVX2 1
#else
#define PLIEGO_AVX2 0
#endif

namespace pliego {

#ifdef PLIEGO_SSE2
namespace {

// Both bytes are looked for in one sweep, 16 bytes at a time.
std::size_t findLineEndSse2(const char* data, std::size_t size) {
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  std::size_t at = 0;
  for (; size - at >= 16; at += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at));
    const int hits = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, cr), _mm_cmpeq_epi8(bytes, lf)));
    if (hits != 0) return at + static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(hits)));
  }
  for (; at < size; ++at)
    if (data[at] == '\r' || data[at] == '\n') return at;
  return size;
}

#if PLIEGO_AVX2
// The same, 32 bytes at a time, on processors that have AVX2.
__attribute__((target("avx2"))) std::size_t findLineEndAvx2(const char* data, std::size_t size) {
  const __m256i cr = _mm256_set1_epi8('\r');
  const __m256i lf = _mm256_set1_epi8('\n');
  std::size_t at = 0;
  for (; size - at >= 32; at += 32) {
    const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + at));
    const int hits =
        _mm256_movemask_epi8(_mm256_or_si256(_mm256_cmpeq_epi8(bytes, cr), _mm256_cmpeq_epi8(bytes, lf)));
    if (hits != 0) return at + static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(hits)));
  }
  return at + findLineEndSse2(data + at, size - at);
}
#endif

}  // namespace

std::size_t findLineEnd(const char* data, std::size_t size) {
#if PLIEGO_AVX2
  static const bool avx2 = __builtin_cpu_supports("avx2");
  if (avx2) return findLineEndAvx2(data, size);
#endif
  return findLineEndSse2(data, size);
}

#else

std::size_t findLineEnd(const char* data, std::size_t size) {
  for (std::size_t at = 0; at < size; ++at)
    if (data[at] == '\r' || data[at] == '\n') return at;
  return size;
}

#endif

}  // namespace pliego
