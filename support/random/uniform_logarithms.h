#pragma once
// The natural logarithms of a generator's uniforms, computed ahead of need on worker
// threads. A start state fixes the whole uniform stream, so the k-th uniform's
// logarithm is known before anyone draws it: workers fill blocks of the stream while
// the generator's thread draws, and that thread computes a logarithm itself wherever a
// worker has not got that far, taking over the rest of the block. Either way the value
// is LogOfUniform of the same state, so results never depend on the number of threads.

#include <array>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

namespace nimbra {

// The logarithm of the uniform state x 2^-32, in extended precision: every logarithm of
// a uniform, computed ahead or on demand, is this one function.
inline long double LogOfUniform(std::uint32_t state) {
  return logl(static_cast<long double>(state) * 0x1p-32L);
}

class UniformLogarithms {
 public:
  static constexpr int kBlockSize = 1024;
  static constexpr int kChunkSize = 16;
  static constexpr int kSlots = 128;

  // The stream of the generator whose state is start now; its next advance is the
  // first uniform of the stream.
  UniformLogarithms(std::uint32_t start, int workers);
  ~UniformLogarithms();
  UniformLogarithms(const UniformLogarithms&) = delete;
  UniformLogarithms& operator=(const UniformLogarithms&) = delete;

  // Follows the generator's advance.
  void Step() {
    if (++index_ == kBlockSize) EnterBlock(block_ + 1);
  }

  // The logarithm of the uniform of state, the generator's state after its last advance.
  long double LogOfCurrent(std::uint32_t state) {
    if (index_ < available_) return table_[index_];
    return LogNotYetAvailable(state);
  }

  // Logarithms a worker had ready before the drawing thread came to them, blocks left
  // behind only.
  std::int64_t LogarithmsReadAhead() const { return readAhead_; }

 private:
  // Slot b % kSlots holds block b, the advances b x kBlockSize + 1 to (b + 1) x kBlockSize.
  // Its claim word is 2b + 1 while a worker fills block b, and 2b once block b is either
  // filled or left to the drawing thread: only then can the slot pass to block
  // b + kSlots. The first filled - b x kBlockSize logarithms of block b are in place.
  struct Slot {
    std::atomic<std::int64_t> claim;
    std::atomic<std::int64_t> filled;
    std::atomic<std::int64_t> takenOver;  // the block whose rest the drawing thread computes
    std::array<long double, kBlockSize> logs;
  };

  void StopWorkers();
  void EnterBlock(std::int64_t block);
  long double LogNotYetAvailable(std::uint32_t state);
  bool Claim(std::int64_t block, bool filling);
  void Work();
  std::int64_t NextBlockToFill();
  void Fill(std::int64_t block);

  const std::uint32_t start_;
  const std::unique_ptr<Slot[]> slots_;

  // The drawing thread's own position: index_ in block_, whose slot's logs are table_,
  // the first available_ of them in place; polling_ while a worker fills the block.
  std::int64_t block_ = -1;
  int index_ = -1;
  int available_ = 0;
  const long double* table_ = nullptr;
  bool polling_ = false;
  std::int64_t readAhead_ = 0;

  std::atomic<std::int64_t> drawingBlock_{0};
  std::atomic<std::int64_t> nextBlock_{0};
  std::atomic<bool> stopping_{false};
  std::vector<std::thread> workers_;
};

}  // namespace nimbra
