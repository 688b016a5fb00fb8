#include "capture/ThreadCpu.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <pthread.h>
#include <time.h>
#endif

namespace zt {

#ifdef _WIN32

namespace {
double seconds(FILETIME kernel, FILETIME user) {
    const auto t = [](FILETIME f) {
        return (static_cast<unsigned long long>(f.dwHighDateTime) << 32) | f.dwLowDateTime;
    };
    return static_cast<double>(t(kernel) + t(user)) / 1e7;
}
} // namespace

double cpuSecondsOfThisThread() {
    FILETIME c, e, k, u;
    return GetThreadTimes(GetCurrentThread(), &c, &e, &k, &u) ? seconds(k, u) : 0;
}

double cpuSecondsOf(std::thread& thread) {
    FILETIME c, e, k, u;
    return thread.joinable() && GetThreadTimes(thread.native_handle(), &c, &e, &k, &u)
               ? seconds(k, u)
               : 0;
}

double cpuSecondsOfProcess() {
    FILETIME c, e, k, u;
    return GetProcessTimes(GetCurrentProcess(), &c, &e, &k, &u) ? seconds(k, u) : 0;
}

#else

namespace {
double seconds(clockid_t clock) {
    timespec ts{};
    if (clock_gettime(clock, &ts) != 0)
        return 0;
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}
} // namespace

double cpuSecondsOfThisThread() {
    return seconds(CLOCK_THREAD_CPUTIME_ID);
}

double cpuSecondsOf(std::thread& thread) {
    clockid_t clock;
    if (!thread.joinable() || pthread_getcpuclockid(thread.native_handle(), &clock) != 0)
        return 0;
    return seconds(clock);
}

double cpuSecondsOfProcess() {
    return seconds(CLOCK_PROCESS_CPUTIME_ID);
}

#endif

} // namespace zt
