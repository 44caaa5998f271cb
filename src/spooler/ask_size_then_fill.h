#pragma once
// Calls that are made twice: first without a buffer, to learn the size they need, then with a
// buffer of that size to fill. AskSizeThenFill holds the steps in one place and tells how the
// pair ended; each caller reads the first answer and gives each ending its own meaning.
#include <cstdint>

// The fill's answer: NoMemory when the buffer could not be allocated and no call was made.
enum class SpoolResult { Failed, Succeeded, NoMemory };

// The first call's answer as its caller reads it.
enum class SizeQuery {
  NeedsBuffer,  // a buffer of size bytes is wanted
  Failed,       // failed for another reason than a buffer too small
  Succeeded,    // succeeded without a buffer
};

struct SizeAnswer {
  SizeQuery query;
  std::uint32_t size;
};

// How the pair ended. Only FillFailed and Filled made the second call.
enum class TwoCallEnd {
  SizeQueryFailed,
  SizeQuerySucceeded,
  NoSize,      // a buffer was wanted, but of no size the caller can use
  NoMemory,    // the buffer could not be allocated
  FillFailed,
  Filled,
};

// askSize() -> SizeAnswer. fill(std::uint32_t size) -> SpoolResult: allocates a buffer of size
// bytes (NoMemory when it cannot, without calling) and makes the second call with it. The second
// call is made only when a buffer is wanted of at least smallestSize bytes.
template <class AskSize, class Fill>
TwoCallEnd AskSizeThenFill(AskSize&& askSize, Fill&& fill, std::uint32_t smallestSize = 1) {
  const SizeAnswer answer = askSize();
  if (answer.query == SizeQuery::Failed) return TwoCallEnd::SizeQueryFailed;
  if (answer.query == SizeQuery::Succeeded) return TwoCallEnd::SizeQuerySucceeded;
  if (answer.size == 0 || answer.size < smallestSize) return TwoCallEnd::NoSize;
  switch (fill(answer.size)) {
    case SpoolResult::Succeeded:
      return TwoCallEnd::Filled;
    case SpoolResult::NoMemory:
      return TwoCallEnd::NoMemory;
    case SpoolResult::Failed:
      break;
  }
  return TwoCallEnd::FillFailed;
}

// A buffer of size bytes is wanted (0: of no size). For callers that take the size as the whole
// answer, or that have read the first call's result themselves.
inline SizeAnswer BufferWanted(std::uint32_t size) { return {SizeQuery::NeedsBuffer, size}; }
