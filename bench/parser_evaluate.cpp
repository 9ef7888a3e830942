// SPDX-License-Identifier: GPL-3.0-or-later

// Parse + Evaluate of the ideal plot's formula texts, and Evaluate alone.
#include "parser/MathParser.h"

#include <benchmark/benchmark.h>

#ifdef KORVO_WITH_MUPARSER
#include <muParser.h>
#endif

namespace {

// The X and Y texts of the plot's first default point: 340 m/s at 12 and 78
// degrees (their sine and cosine written out), 0.05 s into the flight.
const char* const XText = "(0)+(340)*(0.207911690817759)*(00.05)";
const char* const YText = "(0)+(340)*(0.978147600733806)*(00.05)-(0.5)*(9.80)*((00.05)*(00.05))";

void ParseEvaluate(benchmark::State& State, const char* Text) {
    korvo::TMathParser parser;
    for (auto _ : State) {
        parser.Parse(Text);
        benchmark::DoNotOptimize(parser.Evaluate());
    }
}
BENCHMARK_CAPTURE(ParseEvaluate, X, XText);
BENCHMARK_CAPTURE(ParseEvaluate, Y, YText);

void EvaluateOnly(benchmark::State& State, const char* Text) {
    korvo::TMathParser parser;
    parser.Parse(Text);
    for (auto _ : State)
        benchmark::DoNotOptimize(parser.Evaluate());
}
BENCHMARK_CAPTURE(EvaluateOnly, Y, YText);

#ifdef KORVO_WITH_MUPARSER
// A fresh SetExpr forces muparser to parse again, as a new text would.
void MuparserSetExprEval(benchmark::State& State, const char* Text) {
    mu::Parser parser;
    for (auto _ : State) {
        parser.SetExpr(Text);
        benchmark::DoNotOptimize(parser.Eval());
    }
}
BENCHMARK_CAPTURE(MuparserSetExprEval, X, XText);
BENCHMARK_CAPTURE(MuparserSetExprEval, Y, YText);
#endif

} // namespace

BENCHMARK_MAIN();
