// What a trace line costs: with no viewer a call is one bus lookup; with a
// viewer in this process it is formatted and handed over directly.

#include "foundation/debug_agent.h"
#include "platform/window_bus.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

const QString kChannel = QStringLiteral("DBComm");
const QString kMessage = QStringLiteral("Open query: SELECT * FROM ITask WHERE Completed = 0");

void sendWithoutViewer(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(velmora::SendDebugMessage(kChannel, velmora::kTraceLevel, kMessage));
}
BENCHMARK(sendWithoutViewer);

void sendToViewerInProcess(benchmark::State& state)
{
    velmora::platform::WindowBusListener viewer;
    if (!viewer.listen(QString::fromLatin1(velmora::kDebugServerCaption))) {
        state.SkipWithError("\"Debug Server\" is taken");
        return;
    }
    qint64 bytes = 0;
    QObject::connect(&viewer, &velmora::platform::WindowBusListener::copyData,
                     [&bytes](qint64, const QByteArray& data) { bytes += data.size(); });
    for (auto _ : state)
        benchmark::DoNotOptimize(velmora::SendDebugMessage(kChannel, velmora::kTraceLevel, kMessage));
    state.counters["bytes/call"] = double(bytes) / double(state.iterations());
}
BENCHMARK(sendToViewerInProcess);

} // namespace

int main(int argc, char** argv)
{
    // A private bus session: never the user's own viewer or windows.
    QTemporaryDir session;
    qputenv("VELMORA_SESSION", QFile::encodeName(session.path()));
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
