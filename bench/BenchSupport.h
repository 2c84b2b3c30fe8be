#pragma once
// What the benchmarks share: running Glimt and its peer side by side, and the pictures and
// icons they work on.
#include "engine/MyImage.h"

#include <QByteArray>
#include <QString>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

namespace glimt::bench {

// Runs `glimt` and then `peer` in every iteration, so that both see the same machine at the
// same moment (the machine is shared and its speed drifts), and `between` untimed after them.
// The benchmark's own time is Glimt's (register it with UseManualTime()); the counters give
// the medians of both in microseconds and the ratio glimt/peer, and `goal` the largest ratio
// the row aims at (0 where the goal is not a ratio).
template <class Glimt, class Peer, class Between>
void SideBySide(benchmark::State& state, double goal, Glimt&& glimt, Peer&& peer, Between&& between)
{
    using Clock = std::chrono::steady_clock;
    std::vector<double> g, p;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        glimt();
        const auto t1 = Clock::now();
        peer();
        const auto t2 = Clock::now();
        const double gs = std::chrono::duration<double>(t1 - t0).count();
        state.SetIterationTime(gs);
        g.push_back(gs);
        p.push_back(std::chrono::duration<double>(t2 - t1).count());
        between();
    }
    auto median = [](std::vector<double>& v) {
        if (v.empty())
            return 0.0;
        std::nth_element(v.begin(), v.begin() + std::ptrdiff_t(v.size() / 2), v.end());
        return v[v.size() / 2];
    };
    const double gm = median(g), pm = median(p);
    state.counters["glimt_us"] = gm * 1e6;
    state.counters["peer_us"] = pm * 1e6;
    state.counters["glimt/peer"] = pm > 0 ? gm / pm : 0;
    state.counters["goal"] = goal;
}

template <class Glimt, class Peer>
void SideBySide(benchmark::State& state, double goal, Glimt&& glimt, Peer&& peer)
{
    SideBySide(state, goal, glimt, peer, [] {});
}

// A photograph-like picture: smooth colour fields, fine texture and grain, opaque.
TmyImage PhotoLike(int width, int height, unsigned seed = 1);
// The same with the corners cut round and an anti-aliased edge, as photo icons are.
TmyImage PhotoIcon(int side, unsigned seed = 1);

// A 256x256 palette PNG with a transparent colour (tRNS), as large images of real icons are.
QByteArray DiscPalettePng(unsigned seed);

// An icon shaped like real ones: a 256x256 palette PNG with a transparent colour (tRNS), then
// 48, 32 and 16 at 32, 8 and 4 bits as bitmaps. `seed` varies the artwork.
QByteArray RealShapedIcon(unsigned seed);

// Real icons from other projects (../shared/testdata) with at least `minImages` images; empty
// when the folder is absent.
std::vector<QByteArray> RealIcons(int minImages);

} // namespace glimt::bench
