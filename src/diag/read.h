#pragma once
// How a system call ended, as a value: the core never reads the thread's last-error value.
#include <cstdint>
#include <string>
#include <utility>

// One call: ok, or the system's code captured right after it failed.
struct Status {
  bool ok = true;
  std::uint32_t code = 0;
  static Status Failed(std::uint32_t code) { return {false, code}; }
  explicit operator bool() const { return ok; }
};

// Where a variable-size read stopped. The system is asked for the size first and then filled;
// each caller gives each stage its own meaning (an empty list, a name without a number, ...).
enum class ReadStage : std::uint8_t {
  Done,
  SizeQueryFailed,     // the size query failed otherwise than "buffer too small"
  SizeQuerySucceeded,  // the size query succeeded without a buffer (for a listing: none)
  NoMemory,            // the buffer could not be allocated
  FillFailed,          // the call with the buffer failed
};

// The value read, or the stage that failed and the code the failing call left.
template <class T>
struct Read {
  T value{};
  ReadStage stage = ReadStage::Done;
  std::uint32_t code = 0;

  static Read Of(T value) { return Read{std::move(value), ReadStage::Done, 0}; }
  static Read Failed(ReadStage stage, std::uint32_t code) { return Read{T{}, stage, code}; }
  bool ok() const { return stage == ReadStage::Done; }
  explicit operator bool() const { return ok(); }
  // A listing whose size query succeeded has nothing in it.
  bool EmptyListing() const { return stage == ReadStage::SizeQuerySucceeded; }
};

// A listing as its callers take it: one whose size query succeeded holds nothing.
template <class T>
Read<T> AsListing(Read<T> read) {
  return read.EmptyListing() ? Read<T>::Of(T{}) : read;
}

// What a step failed on, as its box names it, and the code it failed with; ok when nothing
// failed. A plain outcome is shown without the ERROR caption and code.
struct Outcome {
  std::u16string call;
  std::uint32_t code = 0;
  bool plain = false;

  static Outcome Failed(std::u16string call, std::uint32_t code) { return {std::move(call), code, false}; }
  static Outcome Plain(std::u16string text) { return {std::move(text), 0, true}; }
  bool ok() const { return call.empty(); }
};
