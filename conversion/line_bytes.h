#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64) || defined(_M_AMD64)
#include <emmintrin.h>
#define IDENTSTRIP_HAVE_SSE2 1
#endif

namespace identstrip {

// Finding the bytes that end or change a line (CR, byte 26, tab) many bytes
// at a time, so that a line's ordinary text is copied as a whole rather than
// judged byte by byte: sixteen at a time where the processor has SSE2, eight
// at a time in plain C++ everywhere.
namespace line_bytes_detail {

inline constexpr std::uint64_t kLowSevenBits = 0x7f7f7f7f7f7f7f7fULL;
inline constexpr std::uint64_t kEveryByte = 0x0101010101010101ULL;

// The high bit of every byte of `word` that is not 0 (the other bits are
// noise). Exact: no carry crosses from one byte into the next.
constexpr std::uint64_t NonZeroBytes(std::uint64_t word) {
  return ((word & kLowSevenBits) + kLowSevenBits) | word;
}

constexpr std::uint64_t Differs(std::uint64_t word, unsigned char byte) {
  return NonZeroBytes(word ^ (kEveryByte * byte));
}

template <bool kWithTab>
constexpr std::uint64_t Flagged(std::uint64_t word) {
  std::uint64_t ordinary = Differs(word, '\r') & Differs(word, 26);
  if constexpr (kWithTab) ordinary &= Differs(word, '\t');
  return ~(ordinary | kLowSevenBits);
}

}  // namespace line_bytes_detail

// The high bit of every byte of `word` (eight bytes loaded as they lie in
// memory) that is a CR, a byte 26 or a tab; 0 when there is none.
constexpr std::uint64_t SpecialBytes(std::uint64_t word) {
  return line_bytes_detail::Flagged<true>(word);
}

// The position, 0 to 7, of the first byte in memory that `flags` marks.
constexpr std::size_t FirstFlaggedIndex(std::uint64_t flags) {
  if constexpr (std::endian::native == std::endian::little) {
    return static_cast<std::size_t>(std::countr_zero(flags)) / 8;
  } else {
    return static_cast<std::size_t>(std::countl_zero(flags)) / 8;
  }
}

constexpr bool IsSpecialByte(char c) {
  return c == '\r' || c == 26 || c == '\t';
}

// Clears the flag of byte `index` (as FirstFlaggedIndex counts) in `flags`.
constexpr std::uint64_t WithoutFlag(std::uint64_t flags, std::size_t index) {
  const std::size_t bit =
      std::endian::native == std::endian::little ? 8 * index + 7 : 8 * (7 - index) + 7;
  return flags & ~(std::uint64_t{1} << bit);
}

// How far past the bytes it copies CopyOrdinary may write.
inline constexpr std::size_t COPY_OVERRUN = 16;

// Copies `from` to `to` up to the first tab, byte 26 or CR LF among the first
// `count` bytes, and returns how many bytes that is (n); a CR without LF is
// copied like any other byte. `readable` (at least `count`) is how many bytes
// of `from` may be looked at, for the LF behind a CR. Whole chunks are
// stored, so positions of `to` from n on may be overwritten too, but only
// below min(count, n + COPY_OVERRUN). kSimd false takes the plain C++ way
// alone, so that tests can check it where SSE2 is there.
template <bool kSimd = true>
std::size_t CopyOrdinary(const char* from, char* to, std::size_t count, std::size_t readable) {
  const auto ends_here = [&](std::size_t at) {
    return from[at] != '\r' || (at + 1 < readable && from[at + 1] == '\n');
  };
  std::size_t done = 0;
#ifdef IDENTSTRIP_HAVE_SSE2
  if constexpr (kSimd) {
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i sub = _mm_set1_epi8(26);
    const __m128i tab = _mm_set1_epi8('\t');
    while (count - done >= 16) {
      const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + done));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(to + done), chunk);
      const __m128i special =
          _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(chunk, cr), _mm_cmpeq_epi8(chunk, sub)),
                       _mm_cmpeq_epi8(chunk, tab));
      for (unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(special)); mask != 0;
           mask &= mask - 1) {
        const std::size_t at = done + static_cast<std::size_t>(std::countr_zero(mask));
        if (ends_here(at)) return at;
      }
      done += 16;
    }
  }
#endif
  while (count - done >= 8) {
    std::uint64_t word;
    std::memcpy(&word, from + done, sizeof word);
    std::memcpy(to + done, &word, sizeof word);
    for (std::uint64_t flags = SpecialBytes(word); flags != 0;) {
      const std::size_t index = FirstFlaggedIndex(flags);
      if (ends_here(done + index)) return done + index;
      flags = WithoutFlag(flags, index);
    }
    done += 8;
  }
  for (; done < count; ++done) {
    if (IsSpecialByte(from[done]) && ends_here(done)) break;
    to[done] = from[done];
  }
  return done;
}

// The first CR or byte 26 in [begin, end), or `end` when there is none.
template <bool kSimd = true>
const char* FindLineEnd(const char* begin, const char* end) {
#ifdef IDENTSTRIP_HAVE_SSE2
  if constexpr (kSimd) {
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i sub = _mm_set1_epi8(26);
    while (end - begin >= 16) {
      const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(begin));
      const unsigned mask = static_cast<unsigned>(
          _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(chunk, cr), _mm_cmpeq_epi8(chunk, sub))));
      if (mask != 0) return begin + std::countr_zero(mask);
      begin += 16;
    }
  }
#endif
  while (end - begin >= 8) {
    std::uint64_t word;
    std::memcpy(&word, begin, sizeof word);
    const std::uint64_t flags = line_bytes_detail::Flagged<false>(word);
    if (flags != 0) return begin + FirstFlaggedIndex(flags);
    begin += 8;
  }
  for (; begin != end; ++begin) {
    if (*begin == '\r' || *begin == 26) return begin;
  }
  return end;
}

// The length of `text` without its trailing blanks (byte 32 only).
inline std::size_t LengthWithoutTrailingBlanks(const char* text, std::size_t length) {
  constexpr std::uint64_t kBlanks = 0x2020202020202020ULL;
  while (length >= 8) {
    std::uint64_t word;
    std::memcpy(&word, text + length - 8, sizeof word);
    if (word != kBlanks) break;
    length -= 8;
  }
  while (length > 0 && text[length - 1] == ' ') --length;
  return length;
}

}  // namespace identstrip
