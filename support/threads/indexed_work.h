#pragma once
// Independent items run on a few threads, each item once, the calling thread one of them.
// Items are taken in order as threads come free, so a long item does not hold the others
// back; each item keeps its result at its own index, so results do not depend on the
// number of threads.

#include <cstddef>
#include <functional>

namespace nimbra {

// Runs work(i) for every i below count. After an error no further item starts; the error of
// the lowest item that failed is raised again once every thread has ended.
void RunEachIndex(std::size_t count, int threads, const std::function<void(std::size_t)>& work);

}  // namespace nimbra
