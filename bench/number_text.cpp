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

void BM_GeneralText(benchmark::State& state) {
    const std::vector<korvo::Real> values = Values(static_cast<int>(state.range(0)));
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(korvo::NumberToGeneralText(values[i++ % values.size()]));
}
BENCHMARK(BM_GeneralText)
    ->Arg(kOrdinary)
    ->Arg(kTiny)
    ->Arg(kHuge)
    ->Arg(kDenormal)
    ->Unit(benchmark::kMicrosecond);

void BM_PatternText(benchmark::State& state) {
    const std::vector<korvo::Real> values = Values(static_cast<int>(state.range(0)));
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(korvo::NumberToPatternText("0.000", values[i++ % values.size()]));
}
BENCHMARK(BM_PatternText)->Arg(kOrdinary)->Arg(kTiny)->Arg(kHuge)->Unit(benchmark::kMicrosecond);

// The texts read back, denormals included.
void BM_ParseReal(benchmark::State& state) {
    std::vector<std::string> texts;
    for (const korvo::Real x : Values(static_cast<int>(state.range(0))))
        texts.push_back(korvo::NumberToGeneralText(x));
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(korvo::ParseReal(texts[i++ % texts.size()]));
}
BENCHMARK(BM_ParseReal)
    ->Arg(kOrdinary)
    ->Arg(kTiny)
    ->Arg(kHuge)
    ->Arg(kDenormal)
    ->Unit(benchmark::kMicrosecond);

// The exact expansion the fast digits are checked against, for scale.
void BM_ExactDigits(benchmark::State& state) {
    const std::vector<korvo::Real> values = Values(static_cast<int>(state.range(0)));
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(korvo::LeadingDigitsExact(values[i++ % values.size()]));
}
BENCHMARK(BM_ExactDigits)->Arg(kOrdinary)->Arg(kTiny)->Arg(kHuge)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
