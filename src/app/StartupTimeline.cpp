#include "app/StartupTimeline.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

bool enabled()
{
    static const bool on = std::getenv("VERBARIUM_BENCH_READY") != nullptr;
    return on;
}

// Static objects are built after the dynamic loader has done its work and before main: what linking costs.
[[maybe_unused]] const bool loadedMarked = (StartupTimeline::mark("loaded"), true);

} // namespace

void StartupTimeline::mark(const char *phase)
{
    if (!enabled())
        return;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::printf("phase %s %lld\n", phase, static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
    std::fflush(stdout);
}
