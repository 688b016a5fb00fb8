#pragma once
// The main of a benchmark that needs Qt: the application of the kind given
// without a display, then the benchmarks the command line asks for.

#include <QByteArray>
#include <benchmark/benchmark.h>

namespace zt::bench {

template <class QtApplication> int runOffscreen(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QtApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace zt::bench
