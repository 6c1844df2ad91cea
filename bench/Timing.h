// How long a piece of work takes, for the benchmarks' ratios.
#pragma once

#include <chrono>
#include <functional>

namespace tuho::bench {

inline double seconds(const std::function<void()>& work) {
  auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace tuho::bench
