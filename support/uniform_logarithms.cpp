#include "uniform_logarithms.h"

#include <algorithm>

#include "lcg.h"

namespace nimbra {

namespace {

// Workers leave the block after the drawing thread's to it: a worker that lags starts
// further ahead, and the drawing thread fills the gap itself instead of waiting.
constexpr std::int64_t kWorkerLead = 2;

}  // namespace

UniformLogarithms::UniformLogarithms(std::uint32_t start, int workers)
    : start_(start), slots_(std::make_unique<Slot[]>(kSlots)) {
  for (int s = 0; s < kSlots; ++s) {
    slots_[s].claim.store(2 * (s - kSlots), std::memory_order_relaxed);
    slots_[s].ready.store(s - kSlots, std::memory_order_relaxed);
  }
  EnterBlock(0);
  for (int w = 0; w < workers; ++w) workers_.emplace_back([this] { Work(); });
}

UniformLogarithms::~UniformLogarithms() {
  stopping_.store(true, std::memory_order_release);
  // A waiting worker wakes only on a changed value.
  drawingBlock_.fetch_add(1, std::memory_order_release);
  drawingBlock_.notify_all();
  for (std::thread& worker : workers_) worker.join();
}

// Blocks a worker claimed are read once it has filled them; the others the drawing
// thread claims and computes on demand, so that no worker starts them late. A block
// whose slot a worker still holds for an earlier block stays unclaimed and is computed
// on demand all the same.
void UniformLogarithms::EnterBlock(std::int64_t block) {
  block_ = block;
  table_ = nullptr;
  drawingBlock_.store(block, std::memory_order_release);
  drawingBlock_.notify_all();
  Slot& slot = slots_[block % kSlots];
  if (slot.ready.load(std::memory_order_acquire) == block) {
    ReadFrom(slot);
    return;
  }
  workerOwnsBlock_ = !Claim(block, false);
}

long double UniformLogarithms::LogWhileNotReady(std::uint32_t state) {
  if (workerOwnsBlock_) {
    Slot& slot = slots_[block_ % kSlots];
    if (slot.ready.load(std::memory_order_acquire) == block_) {
      ReadFrom(slot);
      return table_[index_];
    }
  }
  return LogOfUniform(state);
}

void UniformLogarithms::ReadFrom(Slot& slot) {
  table_ = slot.logs.data();
  ++blocksReadAhead_;
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

void UniformLogarithms::Fill(std::int64_t block) {
  Slot& slot = slots_[block % kSlots];
  std::uint32_t state = LcgJump(start_, static_cast<std::uint64_t>(block) * kBlockSize);
  for (long double& log : slot.logs) {
    state = LcgNext(state);
    log = LogOfUniform(state);
  }
  slot.ready.store(block, std::memory_order_release);
  slot.claim.store(2 * block, std::memory_order_release);
}

}  // namespace nimbra
