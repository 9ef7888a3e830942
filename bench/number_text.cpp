// SPDX-License-Identifier: GPL-3.0-or-later

// The number texts at ordinary and at extreme magnitudes: a run whose values
// reach 1E-4000 or 1E+4000 writes ten such texts per step, so each must cost
// about what an ordinary one does. Each case cycles through 64 values of
// random significands at the magnitude named.
#include "ballistics/core/LeadingDigits.h"
#include "ballistics/core/NumberText.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

std::vector<korvo::Real> Values(int binaryExponent) {
    std::mt19937_64 random(static_cast<unsigned>(binaryExponent + 20000));
    std::vector<korvo::Real> values;
    for (int i = 0; i < 64; ++i) {
        const std::uint64_t significand = random() | (std::uint64_t{1} << 63);
        values.push_back(std::ldexp(static_cast<korvo::Real>(significand), binaryExponent - 64 + i % 4));
    }
    return values;
}

// The binary exponents of the cases: about 70, 1E-4000, 1E+4000, a denormal.
constexpr int kOrdinary = 7;
constexpr int kTiny = -13288;
constexpr int kHuge = 13288;
constexpr int kDenormal = -16400;

// Runs `convert` on the inputs in turn.
template <class Input, class Convert>
void Cycle(benchmark::State& state, const std::vector<Input>& inputs, Convert convert) {
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(convert(inputs[i++ % inputs.size()]));
}

// The values of the case's magnitude.
std::vector<korvo::Real> Values(const benchmark::State& state) {
    return Values(static_cast<int>(state.range(0)));
}

// Every case at the four magnitudes.
void AtEveryMagnitude(benchmark::internal::Benchmark* b) {
    b->Arg(kOrdinary)->Arg(kTiny)->Arg(kHuge)->Arg(kDenormal)->Unit(benchmark::kMicrosecond);
}

void BM_GeneralText(benchmark::State& state) {
    Cycle(state, Values(state), [](korvo::Real x) { return korvo::NumberToGeneralText(x); });
}
BENCHMARK(BM_GeneralText)->Apply(AtEveryMagnitude);

void BM_PatternText(benchmark::State& state) {
    Cycle(state, Values(state), [](korvo::Real x) { return korvo::NumberToPatternText("0.000", x); });
}
BENCHMARK(BM_PatternText)->Apply(AtEveryMagnitude);

// The texts read back, denormals included.
void BM_ParseReal(benchmark::State& state) {
    std::vector<std::string> texts;
    for (const korvo::Real x : Values(state))
        texts.push_back(korvo::NumberToGeneralText(x));
    Cycle(state, texts, [](const std::string& text) { return korvo::ParseReal(text); });
}
BENCHMARK(BM_ParseReal)->Apply(AtEveryMagnitude);

// The exact expansion the fast digits are checked against, for scale.
void BM_ExactDigits(benchmark::State& state) {
    Cycle(state, Values(state), [](korvo::Real x) { return korvo::LeadingDigitsExact(x); });
}
BENCHMARK(BM_ExactDigits)->Apply(AtEveryMagnitude);

} // namespace

BENCHMARK_MAIN();
