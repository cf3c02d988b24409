#pragma once

#include <benchmark/benchmark.h>

#include <time.h>

namespace sekreta::bench {

// Seconds spent in ours and in the peer over all iterations of one benchmark.
struct PairedTimes {
    double ours = 0;
    double peer = 0;
};

// The processor time of this thread, system time included: what the work itself costs, while
// the wall clock would also count the other programs of a busy machine.
inline double ThreadSeconds()
{
    timespec now {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

template <typename Work> double SecondsFor(Work& work)
{
    const double start = ThreadSeconds();
    work();
    return ThreadSeconds() - start;
}

// Runs ours and the peer in every iteration, taking turns at going first, so that a ratio of
// the totals holds on a busy machine. `prepare` runs untimed before each of them, to release
// what the previous run left. The benchmark's own time is ours (register it with
// UseManualTime()).
template <typename Ours, typename Peer, typename Prepare>
PairedTimes TimePaired(benchmark::State& state, Ours ours, Peer peer, Prepare prepare)
{
    PairedTimes times;
    bool peerFirst = false;
    for (auto _ : state) {
        double oursSeconds = 0;
        for (int turn = 0; turn < 2; ++turn) {
            prepare();
            if ((turn == 0) == peerFirst)
                times.peer += SecondsFor(peer);
            else
                oursSeconds = SecondsFor(ours);
        }
        times.ours += oursSeconds;
        state.SetIterationTime(oursSeconds);
        peerFirst = !peerFirst;
    }
    return times;
}

template <typename Ours, typename Peer> PairedTimes TimePaired(benchmark::State& state, Ours ours, Peer peer)
{
    return TimePaired(state, ours, peer, [] {});
}

}  // namespace sekreta::bench
