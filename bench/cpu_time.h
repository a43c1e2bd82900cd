#pragma once
// Processor time of this process (user + system), for the benchmarks' CPU-against-wall figures.

#include <sys/resource.h>

namespace terrix::bench {

inline double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

} // namespace terrix::bench
