#pragma once

#include <bit>
#include <cstring>
#include <string>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Finds a token in a text. Candidates are the positions where both the token's first and its last
// character stand: generated texts hold many tokens and names that begin alike, and the blanks
// that lead the patterns of routine renaming are everywhere, but the two ends together are rare.
// Where the processor compares sixteen bytes at once, sixteen positions are tested together.
class CTokenFinder {
public:
    // How the text is gone through. OneByOne is the plain way, which the fastest way falls back to
    // on short texts and on processors without sixteen-byte compares; the tests ask for it on long
    // texts too, so that both ways run where the fastest one exists.
    enum class Search { Fastest, OneByOne };

    explicit CTokenFinder(std::string_view token, Search search = Search::Fastest)
        : token_(token), search_(search)
    {
    }

    // The first position at or after from where the token (not empty) stands; std::string::npos
    // when there is none.
    size_t Find(std::string_view text, size_t from) const
    {
        if (from >= text.size() || text.size() - from < token_.size())
            return std::string::npos;
        // One past the last position where the token could start.
        const size_t end = text.size() - (token_.size() - 1);
        size_t pos = from;
#if defined(__SSE2__)
        if (search_ == Search::Fastest) {
            if (const size_t found = FindBySixteen(text.data(), pos, end); found != std::string::npos)
                return found;
        }
#endif
        for (; pos < end; ++pos) {
            if (IsAt(text.data() + pos))
                return pos;
        }
        return std::string::npos;
    }

private:
    bool IsAt(const char* at) const
    {
        const size_t last = token_.size() - 1;
        return at[0] == token_[0] && at[last] == token_[last] &&
               std::memcmp(at + 1, token_.data() + 1, last) == 0;
    }

#if defined(__SSE2__)
    // Tests sixteen positions at a time from pos on; the last sixteen positions of the text are
    // tested together too, those before pos left out. pos is left where the rest must be tested
    // one by one: only in a text of fewer than sixteen positions.
    size_t FindBySixteen(const char* text, size_t& pos, size_t end) const
    {
        for (; end - pos >= 16; pos += 16) {
            if (const unsigned at = FirstInBlock(text, pos, ~0u); at < 16)
                return pos + at;
        }
        if (pos == end || end < 16)
            return std::string::npos;
        const size_t block = end - 16;
        const unsigned at = FirstInBlock(text, block, ~0u << (pos - block));
        pos = end;
        return at < 16 ? block + at : std::string::npos;
    }

    // The first of the sixteen positions from block on that holds the token, of those whose bit is
    // set in wanted; 16 when none does.
    unsigned FirstInBlock(const char* text, size_t block, unsigned wanted) const
    {
        const size_t last = token_.size() - 1;
        const __m128i starts = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + block));
        const __m128i ends = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + block + last));
        unsigned candidates = wanted & static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(
                                           _mm_cmpeq_epi8(starts, _mm_set1_epi8(token_[0])),
                                           _mm_cmpeq_epi8(ends, _mm_set1_epi8(token_[last])))));
        for (; candidates != 0; candidates &= candidates - 1) {
            const unsigned at = static_cast<unsigned>(std::countr_zero(candidates));
            if (std::memcmp(text + block + at + 1, token_.data() + 1, last) == 0)
                return at;
        }
        return 16;
    }
#endif

    std::string_view token_;
    Search search_;
};

