#pragma once
// CPU time of threads, for the recording pipeline's figures.

#include <thread>

namespace zt {

// Seconds of CPU the calling thread has used.
double cpuSecondsOfThisThread();
// Seconds of CPU a running thread has used (0 when unknown).
double cpuSecondsOf(std::thread& thread);
// Seconds of CPU the whole process has used.
double cpuSecondsOfProcess();

} // namespace zt
