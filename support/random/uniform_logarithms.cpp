#include "uniform_logarithms.h"

#include <algorithm>

#include "lcg.h"

namespace nimbra {

namespace {

// Workers start after the drawing thread's block: a worker that lags starts ahead of
// it again instead of computing what the drawing thread computes itself.
constexpr std::int64_t kWorkerLead = 1;

}  // namespace

UniformLogarithms::UniformLogarithms(std::uint32_t start, int workers)
    : start_(start), slots_(std::make_unique<Slot[]>(kSlots)) {
  for (int s = 0; s < kSlots; ++s) {
    slots_[s].claim.store(2 * (s - kSlots), std::memory_order_relaxed);
    slots_[s].filled.store((s - kSlots) * std::int64_t{kBlockSize}, std::memory_order_relaxed);
    slots_[s].takenOver.store(s - kSlots, std::memory_order_relaxed);
  }
  EnterBlock(0);
  index_ = -1;
  try {
    for (int w = 0; w < workers; ++w) workers_.emplace_back([this] { Work(); });
  } catch (...) {
    StopWorkers();
    throw;
  }
}

UniformLogarithms::~UniformLogarithms() { StopWorkers(); }

void UniformLogarithms::StopWorkers() {
  stopping_.store(true, std::memory_order_release);
  // A waiting worker wakes only on a changed value.
  drawingBlock_.fetch_add(1, std::memory_order_release);
  drawingBlock_.notify_all();
  for (std::thread& worker : workers_) worker.join();
}

// A block no worker has claimed is the drawing thread's own, so that no worker starts
// it late; the logarithms of any other are read as far as its worker has come.
void UniformLogarithms::EnterBlock(std::int64_t block) {
  readAhead_ += available_;
  block_ = block;
  index_ = 0;
  drawingBlock_.store(block, std::memory_order_release);
  drawingBlock_.notify_all();
  table_ = slots_[block % kSlots].logs.data();
  available_ = 0;
  polling_ = !Claim(block, false);
}

// Having passed its worker, the drawing thread computes the rest of the block and tells
// the worker to move on.
long double UniformLogarithms::LogNotYetAvailable(std::uint32_t state) {
  if (polling_) {
    Slot& slot = slots_[block_ % kSlots];
    const std::int64_t filled = slot.filled.load(std::memory_order_acquire) - block_ * kBlockSize;
    available_ = static_cast<int>(std::max<std::int64_t>(filled, 0));
    if (index_ < available_) return table_[index_];
    polling_ = false;
    slot.takenOver.store(block_, std::memory_order_relaxed);
  }
  return LogOfUniform(state);
}

// Whoever moves the claim from the slot's settled previous block to block owns block.
bool UniformLogarithms::Claim(std::int64_t block, bool filling) {
  std::int64_t previous = 2 * (block - kSlots);
  return slots_[block % kSlots].claim.compare_exchange_strong(previous, 2 * block + (filling ? 1 : 0),
                                                              std::memory_order_acq_rel);
}

void UniformLogarithms::Work() {
  for (std::int64_t block = NextBlockToFill(); block >= 0; block = NextBlockToFill()) {
    if (Claim(block, true)) Fill(block);
  }
}

// The next block no worker took, within the slots the drawing thread has left; -1 when
// stopping. A worker waits while every free slot is filled.
std::int64_t UniformLogarithms::NextBlockToFill() {
  std::int64_t next = nextBlock_.load(std::memory_order_relaxed);
  for (;;) {
    if (stopping_.load(std::memory_order_acquire)) return -1;
    const std::int64_t drawing = drawingBlock_.load(std::memory_order_acquire);
    const std::int64_t block = std::max(next, drawing + kWorkerLead);
    if (block >= drawing + kSlots) {
      drawingBlock_.wait(drawing, std::memory_order_acquire);
      next = nextBlock_.load(std::memory_order_relaxed);
    } else if (nextBlock_.compare_exchange_weak(next, block + 1, std::memory_order_relaxed)) {
      return block;
    }
  }
}

// Publishes the logarithms chunk by chunk, and stops where the drawing thread took over.
void UniformLogarithms::Fill(std::int64_t block) {
  Slot& slot = slots_[block % kSlots];
  std::uint32_t state = LcgJump(start_, static_cast<std::uint64_t>(block) * kBlockSize);
  int done = 0;
  while (done < kBlockSize && slot.takenOver.load(std::memory_order_relaxed) != block) {
    for (const int end = done + kChunkSize; done < end; ++done) {
      state = LcgNext(state);
      slot.logs[static_cast<std::size_t>(done)] = LogOfUniform(state);
    }
    slot.filled.store(block * kBlockSize + done, std::memory_order_release);
  }
  slot.claim.store(2 * block, std::memory_order_release);
}

}  // namespace nimbra
