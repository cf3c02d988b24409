#pragma once

#include <benchmark/benchmark.h>

#include <chrono>

namespace sekreta::bench {

// Seconds spent in ours and in the peer over all iterations of one benchmark.
struct PairedTimes {
    double ours = 0;
    double peer = 0;
};

template <typename Work> double SecondsFor(Work& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Runs ours and the peer in every iteration, taking turns at going first, so that a ratio of
// the totals holds on a busy machine. The benchmark's own time is ours (register it with
// UseManualTime()).
template <typename Ours, typename Peer> PairedTimes TimePaired(benchmark::State& state, Ours ours, Peer peer)
{
    PairedTimes times;
    bool peerFirst = false;
    for (auto _ : state) {
        double oursSeconds = 0;
        if (peerFirst) {
            times.peer += SecondsFor(peer);
            oursSeconds = SecondsFor(ours);
        } else {
            oursSeconds = SecondsFor(ours);
            times.peer += SecondsFor(peer);
        }
        times.ours += oursSeconds;
        state.SetIterationTime(oursSeconds);
        peerFirst = !peerFirst;
    }
    return times;
}

}  // namespace sekreta::bench
