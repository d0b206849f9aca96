// The pool under load: every item's own result, in order, never more items at work than its
// window, and an error that ends the run. A hang fails the test after a timeout.

#include "ordered_pool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <future>
#include <memory>
#include <random>
#include <stdexcept>
#include <thread>

namespace nimbra {
namespace {

constexpr auto kTimeout = std::chrono::seconds(300);

// Runs call on its own thread; a call that does not return in time ends the test program, as a
// pool waiting forever cannot be cleaned up.
template <class Call>
void WithinTimeout(Call call) {
  auto done = std::make_shared<std::promise<void>>();
  std::future<void> finished = done->get_future();
  std::thread([done, call] {
    try {
      call();
      done->set_value();
    } catch (...) {
      done->set_exception(std::current_exception());
    }
  }).detach();
  if (finished.wait_for(kTimeout) == std::future_status::timeout) {
    ADD_FAILURE() << "the pool did not finish within " << kTimeout.count() << " s";
    std::_Exit(EXIT_FAILURE);
  }
  finished.get();
}

// Work that takes a random short time, so that items finish out of order.
void Jitter(std::size_t item) {
  thread_local std::mt19937 random(static_cast<unsigned>(item));
  const int spins = static_cast<int>(random() % 200);
  for (int i = 0; i < spins; ++i) std::this_thread::yield();
}

TEST(OrderedPool, EachItemsResultComesInOrderWithinTheWindow) {
  for (const int threads : {1, 2, 3, 8}) {
    for (const std::size_t count : {std::size_t{0}, std::size_t{1}, std::size_t{5}, std::size_t{400}}) {
      std::atomic<std::size_t> delivered = 0;
      std::atomic<bool> beyondWindow = false;
      std::size_t expected = 0;
      bool wrongItem = false;
      WithinTimeout([&] {
        OrderedPool<std::vector<std::size_t>>::Run(
            count, threads,
            [&](std::size_t item) {
              if (item > delivered.load() + 2 * static_cast<std::size_t>(threads)) beyondWindow = true;
              Jitter(item);
              return std::vector<std::size_t>(1 + item % 7, item);
            },
            [&](std::size_t item, std::vector<std::size_t>& result) {
              wrongItem =
                  wrongItem || item != expected || result != std::vector<std::size_t>(1 + item % 7, item);
              ++expected;
              ++delivered;
            });
      });
      EXPECT_EQ(expected, count) << threads << " threads";
      EXPECT_FALSE(wrongItem) << threads << " threads, " << count << " items";
      EXPECT_FALSE(beyondWindow) << threads << " threads, " << count << " items";
    }
  }
}

TEST(OrderedPool, AnErrorEndsTheRunAndIsRaisedAgain) {
  for (const bool inWork : {true, false}) {
    for (const int threads : {1, 4}) {
      std::size_t delivered = 0;
      bool outOfOrder = false;
      WithinTimeout([&] {
        EXPECT_THROW(OrderedPool<std::size_t>::Run(
                         1000, threads,
                         [&](std::size_t item) {
                           if (inWork && item == 300) throw std::runtime_error("item 300");
                           Jitter(item);
                           return item;
                         },
                         [&](std::size_t item, std::size_t& result) {
                           if (!inWork && item == 300) throw std::runtime_error("item 300");
                           outOfOrder = outOfOrder || item != delivered || result != item;
                           ++delivered;
                         }),
                     std::runtime_error);
      });
      EXPECT_LE(delivered, 300u) << threads << " threads";
      EXPECT_FALSE(outOfOrder);
    }
  }
}

}  // namespace
}  // namespace nimbra
