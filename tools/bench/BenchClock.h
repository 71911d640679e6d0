// Clocks and a median for the benchmark programs.
#pragma once

#include <algorithm>
#include <chrono>
#include <ctime>
#include <vector>

inline double WallMs()
{
  using namespace std::chrono;
  return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

// CPU time of the whole process, every thread included.
inline double CpuMs()
{
  return 1000.0 * static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

inline double Median(std::vector<double> values)
{
  if (values.empty())
    return 0.0;
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}
