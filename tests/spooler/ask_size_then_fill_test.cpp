#include "spooler/ask_size_then_fill.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

TEST(AskSizeThenFill, EachEndingAndWhetherTheSecondCallIsMade) {
  using Q = SizeQuery;
  using R = SpoolResult;
  using E = TwoCallEnd;
  struct Row {
    const char* what;
    SizeAnswer answer;
    std::uint32_t smallestSize;
    R fillResult;
    E end;
    std::optional<std::uint32_t> filledWith;  // no value: no second call
  };
  const Row rows[] = {
      {"filled", {Q::NeedsBuffer, 120}, 1, R::Succeeded, E::Filled, 120},
      {"second call fails", {Q::NeedsBuffer, 120}, 1, R::Failed, E::FillFailed, 120},
      {"no memory", {Q::NeedsBuffer, 120}, 1, R::NoMemory, E::NoMemory, 120},
      {"size query fails otherwise", {Q::Failed, 120}, 1, R::Succeeded, E::SizeQueryFailed, std::nullopt},
      {"size query succeeds", {Q::Succeeded, 120}, 1, R::Succeeded, E::SizeQuerySucceeded, std::nullopt},
      {"no size", {Q::NeedsBuffer, 0}, 1, R::Succeeded, E::NoSize, std::nullopt},
      {"0 is no size, whatever the smallest", {Q::NeedsBuffer, 0}, 0, R::Succeeded, E::NoSize, std::nullopt},
      {"one short of the smallest", {Q::NeedsBuffer, 4}, 5, R::Succeeded, E::NoSize, std::nullopt},
      {"the smallest", {Q::NeedsBuffer, 5}, 5, R::Succeeded, E::Filled, 5},
      {"the largest", {Q::NeedsBuffer, 0xFFFFFFFF}, 1, R::Succeeded, E::Filled, 0xFFFFFFFF},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    int asked = 0;
    std::optional<std::uint32_t> filledWith;
    E end = AskSizeThenFill(
        [&] {
          ++asked;
          return row.answer;
        },
        [&](std::uint32_t size) {
          EXPECT_EQ(asked, 1);  // never before the size query
          EXPECT_FALSE(filledWith);
          filledWith = size;
          return row.fillResult;
        },
        row.smallestSize);
    EXPECT_EQ(end, row.end);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(filledWith, row.filledWith);
  }
}

// Counts its readings: the last-error value is the size query's own only after a failure.
class CountingLastError : public LastError {
 public:
  std::uint32_t value = 0;
  int reads = 0;
  std::uint32_t GetLastError() override {
    ++reads;
    return value;
  }
  void SetLastError(std::uint32_t code) override { value = code; }
};

TEST(SpoolerSizeAnswer, OnlyAFailureWithInsufficientBufferWantsABuffer) {
  struct Row {
    const char* what;
    SpoolResult result;
    std::uint32_t lastError;
    SizeAnswer expected;
    int reads;
  };
  const Row rows[] = {
      {"buffer too small", SpoolResult::Failed, 122, {SizeQuery::NeedsBuffer, 344}, 1},
      {"another error", SpoolResult::Failed, 5, {SizeQuery::Failed, 0}, 1},
      {"no memory", SpoolResult::NoMemory, 122, {SizeQuery::Failed, 0}, 0},
      {"succeeded without a buffer", SpoolResult::Succeeded, 122, {SizeQuery::Succeeded, 0}, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    CountingLastError lastError;
    lastError.value = row.lastError;
    SizeAnswer answer = SpoolerSizeAnswer(row.result, lastError, 344);
    EXPECT_EQ(answer.query, row.expected.query);
    EXPECT_EQ(answer.size, row.expected.size);
    EXPECT_EQ(lastError.reads, row.reads);
    EXPECT_EQ(lastError.value, row.lastError);
  }
  CountingLastError lastError;
  lastError.value = 122;
  EXPECT_EQ(SpoolerSizeAnswer(SpoolResult::Failed, lastError, 0).size, 0u);  // asked, but no size
}

}  // namespace
