// SPDX-License-Identifier: GPL-3.0-or-later

#include "ballistics/core/CaseAnalysis.h"

#include "ballistics/core/BoxSearch.h"
#include "ballistics/core/NumberText.h"
#include "base/ParallelFor.h"

#include <cmath>
#include <limits>
#include <vector>

namespace korvo {

const char* const kMetodoBanda =
    "Esquinas de la caja de tolerancias y tres puntos interiores en cada arista; desde el mejor "
    "punto de cada extremo, búsqueda por coordenadas con pasos que se reducen a la mitad hasta "
    "1/65536 de cada intervalo.";

namespace {

constexpr Real kNaN = std::numeric_limits<Real>::quiet_NaN();

// The band's search settles at 1/65536 of each tolerance's width, far below
// any difference a measured input can make. The band of an angle for a
// distance costs a root find per input set, so it samples the middle of each
// edge only and settles at 1/256 of the width: the angle is then off by less
// than a thousandth of a degree for any turn inside the box.
constexpr BoxSearchSettings kBandSearch{3, 1.0L / 65536};
constexpr BoxSearchSettings kDistanceBandSearch{1, 1.0L / 256};

// The root of an angle for a distance is sought until its bracket is narrower
// than this (degrees), or for at most this many trajectories: halving the
// bracket at every other step reaches the width from 90 degrees in about 60.
constexpr Real kRootWidth = 1e-7L;
constexpr int kMostRootSteps = 100;

const char* const kFigureNames[kCaseFigureCount] = {"tiempo_vuelo", "altura_maxima", "alcance",
                                                    "velocidad_impacto", "angulo_impacto"};

// Runs the trajectories: counts them, and refuses to start one once the cancel
// flag is up.
class Runner {
public:
    Runner(const FiguresFunction& figures, const AnalysisOptions& options)
        : figures_(figures), options_(options) {}

    CaseFigures One(const CaseInputs& inputs) {
        if (options_.Cancel && options_.Cancel->load(std::memory_order_relaxed))
            throw AnalysisCancelled();
        ++count_;
        return figures_(inputs);
    }

    template <class T, class Work> std::vector<T> Each(std::size_t count, const Work& work) {
        std::vector<T> out(count);
        ParallelFor(count, options_.Jobs, [&](std::size_t i) { out[i] = work(i); });
        return out;
    }

    std::uint64_t Count() const { return count_.load(); }

private:
    const FiguresFunction& figures_;
    const AnalysisOptions& options_;
    std::atomic<std::uint64_t> count_{0};
};

// The share of the whole analysis done, from the shares of its stages.
class Stages {
public:
    Stages(const AnalysisOptions& options, std::vector<double> weights)
        : options_(options), weights_(weights) {
        for (double weight : weights_)
            total_ += weight;
    }

    void Report(std::size_t stage, Real fraction) {
        if (!options_.Progress || total_ <= 0)
            return;
        double done = 0;
        for (std::size_t s = 0; s < stage; ++s)
            done += weights_[s];
        done = std::min(1.0, (done + weights_[stage] * static_cast<double>(fraction)) / total_);
        if (done > last_) {
            last_ = done;
            options_.Progress(done);
        }
    }
    std::function<void(Real)> Of(std::size_t stage) {
        return [this, stage](Real fraction) { Report(stage, fraction); };
    }

private:
    const AnalysisOptions& options_;
    std::vector<double> weights_;
    double total_ = 0;
    double last_ = -1;
};

BoxPoint PointOf(const CaseInputs& inputs) {
    return {inputs.D, inputs.M, inputs.Vo, inputs.Angulo};
}

CaseInputs InputsAt(CaseInputs inputs, const BoxPoint& point) {
    inputs.D = point[0];
    inputs.M = point[1];
    inputs.Vo = point[2];
    inputs.Angulo = point[3];
    return inputs;
}

CaseInputs WithAngle(CaseInputs inputs, Real angle) {
    inputs.Angulo = angle;
    return inputs;
}

Box BoxAround(const CaseInputs& nominal, const CaseTolerances& t) {
    return {{nominal.D - t.D, nominal.M - t.M, nominal.Vo - t.Vo, nominal.Angulo - t.Angulo},
            {nominal.D + t.D, nominal.M + t.M, nominal.Vo + t.Vo, nominal.Angulo + t.Angulo}};
}

// A round of the box search: the five figures at every point, over the threads.
BoxRound FiguresRound(Runner& runner, const CaseInputs& nominal) {
    return [&runner, nominal](const std::vector<BoxPoint>& points) {
        return runner.Each<std::vector<Real>>(points.size(), [&](std::size_t i) {
            const CaseFigures figures = runner.One(InputsAt(nominal, points[i]));
            std::vector<Real> values(kCaseFigureCount);
            for (std::size_t f = 0; f < kCaseFigureCount; ++f)
                values[f] = FigureOf(figures, static_cast<CaseFigure>(f));
            return values;
        });
    };
}

struct Peak {
    Real Angulo = 0, Alcance = kNaN;
};

// The greatest range over the angles 0 to 90 degrees: every whole degree, then
// the twenty neighbours of the best so far at a tenth, a hundredth and a
// thousandth of a degree. The best of all those is kept, so no angle on the
// hundredths grid within a tenth of a degree of the answer does better: the
// range has a single broad peak, and the stepped run's small ripples near it
// cannot move the best hundredth further away than that.
Peak FarthestAngle(const std::function<std::vector<Real>(const std::vector<Real>&)>& ranges,
                   const std::function<void(Real)>& progress) {
    Peak best;
    const auto consider = [&](const std::vector<Real>& angles) {
        const std::vector<Real> r = ranges(angles);
        for (std::size_t i = 0; i < angles.size(); ++i)
            if (Beats(r[i], best.Alcance, true))
                best = {angles[i], r[i]};
    };
    std::vector<Real> angles;
    for (int degree = 0; degree <= 90; ++degree)
        angles.push_back(degree);
    consider(angles);
    constexpr int kLevels = 3;
    if (progress)
        progress(1.0L / (kLevels + 1));
    Real scale = 1;
    for (int level = 1; level <= kLevels; ++level) {
        scale *= 10;
        const long long centre = std::llround(best.Angulo * scale);
        angles.clear();
        for (long long n = centre - 10; n <= centre + 10; ++n) {
            const Real angle = static_cast<Real>(n) / scale;
            if (n != centre && angle >= 0 && angle <= 90)
                angles.push_back(angle);
        }
        consider(angles);
        if (progress)
            progress(static_cast<Real>(level + 1) / (kLevels + 1));
    }
    return best;
}

// The angle in [a, b] where `excess` (the range less the distance) changes sign,
// given its values at both ends. Regula falsi with the Illinois change (the end
// kept twice in a row has its value halved), and a halving of the bracket after
// any step that did not halve it, so that the bracket shrinks at least by half
// every other trajectory whatever the range's shape. The end nearer to zero wins.
Real RootAngle(const std::function<Real(Real)>& excess, Real a, Real b, Real fa, Real fb) {
    Real ka = fa, kb = fb; // the values regula falsi uses, halved by Illinois
    int kept = 0;          // which end was kept last: -1 a, +1 b
    bool bisect = false;
    for (int step = 0; step < kMostRootSteps && b - a > kRootWidth && fa != 0 && fb != 0; ++step) {
        const Real width = b - a;
        Real c = bisect ? (a + b) / 2 : b - kb * (b - a) / (kb - ka);
        if (!(c > a && c < b))
            c = (a + b) / 2;
        const Real fc = excess(c);
        if (std::isnan(fc))
            return kNaN;
        if ((fc < 0) == (fa < 0)) {
            a = c;
            fa = ka = fc;
            if (kept == -1)
                kb /= 2;
            kept = -1;
        } else {
            b = c;
            fb = kb = fc;
            if (kept == 1)
                ka /= 2;
            kept = 1;
        }
        bisect = !bisect && b - a > width / 2;
    }
    return std::fabs(fa) <= std::fabs(fb) ? a : b;
}

Real RangeAt(Runner& runner, const CaseInputs& inputs, Real angle) {
    return runner.One(WithAngle(inputs, angle)).Alcance;
}

// The angle of one branch (0 the low, 1 the high) whose range is `distance`
// for these inputs, NaN when that branch has none. `split` is an angle
// expected to reach the distance (the nominal farthest-reaching one); when it
// does not, these inputs' own farthest-reaching angle is sought, and when that
// falls short too, no angle reaches. All on the calling thread. The two
// branches are separate pieces of work, so that threads share them evenly
// (each is some sixty trajectories); each repeats the first trajectory at the
// split, which keeps both answers independent of how they are shared.
Real RootAt(Runner& runner, const CaseInputs& inputs, Real split, Real distance, std::size_t branch) {
    const auto excess = [&](Real angle) { return RangeAt(runner, inputs, angle) - distance; };
    Real atSplit = excess(split);
    if (!(atSplit >= 0)) {
        const Peak peak = FarthestAngle(
            [&](const std::vector<Real>& angles) {
                std::vector<Real> r;
                for (Real angle : angles)
                    r.push_back(RangeAt(runner, inputs, angle));
                return r;
            },
            {});
        if (!(peak.Alcance >= distance))
            return kNaN;
        split = peak.Angulo;
        atSplit = peak.Alcance - distance;
    }
    if (branch == 0) {
        const Real atZero = excess(0);
        return atZero <= 0 ? RootAngle(excess, 0, split, atZero, atSplit) : kNaN;
    }
    const Real atNinety = excess(90);
    return atNinety <= 0 ? RootAngle(excess, split, 90, atSplit, atNinety) : kNaN;
}

std::string Metres(Real value) {
    return NumberToPatternText("0.000", value);
}

CaseBand BandOf(Runner& runner, Stages& stages, std::size_t stage, const CaseInputs& nominal,
                const CaseTolerances& tolerances) {
    std::vector<BoxGoal> goals;
    for (std::size_t f = 0; f < kCaseFigureCount; ++f) {
        goals.push_back({f, false});
        goals.push_back({f, true});
    }
    const BoxSearchResult found = SearchBox(BoxAround(nominal, tolerances), {PointOf(nominal)}, goals,
                                            kBandSearch, FiguresRound(runner, nominal), stages.Of(stage));
    CaseBand band;
    band.AlgunoIndefinido = found.SomeUndefined;
    for (std::size_t f = 0; f < kCaseFigureCount; ++f) {
        const BoxExtreme& least = found.Extremes[2 * f];
        const BoxExtreme& most = found.Extremes[2 * f + 1];
        band.Figuras[f] = {{least.Value, InputsAt(nominal, least.Point)},
                           {most.Value, InputsAt(nominal, most.Point)},
                           found.SeedValues.front()[f]};
    }
    return band;
}

FarthestReach FarthestOf(Runner& runner, Stages& stages, std::size_t stage, const CaseInputs& nominal,
                         const CaseTolerances& tolerances) {
    const Peak peak = FarthestAngle(
        [&](const std::vector<Real>& angles) {
            return runner.Each<Real>(angles.size(),
                                     [&](std::size_t i) { return RangeAt(runner, nominal, angles[i]); });
        },
        stages.Of(stage));
    FarthestReach reach{peak.Angulo, peak.Alcance, peak.Angulo, peak.Alcance,
                        WithAngle(nominal, peak.Angulo)};
    if (tolerances.D == 0 && tolerances.M == 0 && tolerances.Vo == 0)
        return reach;
    // Over the box the angle is free from 0 to 90 degrees; the nominal answer
    // is a seed, so the box never reaches less than the nominal inputs.
    Box box = BoxAround(nominal, {tolerances.D, tolerances.M, tolerances.Vo, 0});
    box.Lo[3] = 0;
    box.Hi[3] = 90;
    const BoxSearchResult found = SearchBox(box, {PointOf(reach.EntradasCaja)}, {{Alcance, true}},
                                            kBandSearch, FiguresRound(runner, nominal), stages.Of(stage + 1));
    reach.AlcanceCaja = found.Extremes.front().Value;
    reach.EntradasCaja = InputsAt(nominal, found.Extremes.front().Point);
    reach.AnguloCaja = reach.EntradasCaja.Angulo;
    return reach;
}

AnglesForDistance AnglesOf(Runner& runner, Stages& stages, std::size_t stage, const CaseInputs& nominal,
                           const CaseTolerances& tolerances, Real distance, const FarthestReach& reach) {
    AnglesForDistance angles;
    angles.Distancia = distance;
    if (!(reach.Alcance >= distance)) {
        angles.Baja.Mensaje = angles.Alta.Mensaje =
            "Ningún ángulo de 0 a 90 grados alcanza " + Metres(distance) + " m: el mayor alcance es " +
            Metres(reach.Alcance) + " m, a " + NumberToPatternText("0.00", reach.Angulo) + " grados.";
        return angles;
    }
    // The band of each branch's angle over D, M and Vo; the nominal inputs are
    // the seed, so the nominal angles come from the same root finds.
    std::array<bool, 2> undefined{false, false};
    const BoxRound roots = [&](const std::vector<BoxPoint>& points) {
        const std::vector<Real> found = runner.Each<Real>(points.size() * 2, [&](std::size_t k) {
            return RootAt(runner, InputsAt(nominal, points[k / 2]), reach.Angulo, distance, k % 2);
        });
        std::vector<std::vector<Real>> values;
        for (std::size_t i = 0; i < points.size(); ++i) {
            for (std::size_t b = 0; b < 2; ++b)
                undefined[b] = undefined[b] || std::isnan(found[2 * i + b]);
            values.push_back({found[2 * i], found[2 * i + 1]});
        }
        return values;
    };
    const BoxSearchResult found = SearchBox(
        BoxAround(nominal, {tolerances.D, tolerances.M, tolerances.Vo, 0}), {PointOf(nominal)},
        {{0, false}, {0, true}, {1, false}, {1, true}}, kDistanceBandSearch, roots, stages.Of(stage));
    const std::vector<Real>& nominalRoots = found.SeedValues.front();
    const std::vector<CaseFigures> atRoots = runner.Each<CaseFigures>(2, [&](std::size_t b) {
        return std::isnan(nominalRoots[b]) ? CaseFigures{} : runner.One(WithAngle(nominal, nominalRoots[b]));
    });
    for (std::size_t b = 0; b < 2; ++b) {
        DistanceBranch& branch = b == 0 ? angles.Baja : angles.Alta;
        branch.Alcanza = !std::isnan(nominalRoots[b]);
        if (!branch.Alcanza) {
            const Real end = b == 0 ? 0 : 90;
            branch.Mensaje = std::string("Ningún ángulo ") + (b == 0 ? "bajo" : "alto") + " alcanza " +
                             Metres(distance) + " m: a " + (b == 0 ? "0" : "90") + " grados el alcance es " +
                             Metres(RangeAt(runner, nominal, end)) + " m.";
            continue;
        }
        branch.Angulo = nominalRoots[b];
        branch.TiempoVuelo = atRoots[b].TiempoVuelo;
        branch.VelocidadImpacto = atRoots[b].VelocidadImpacto;
        const BoxExtreme& least = found.Extremes[2 * b];
        const BoxExtreme& most = found.Extremes[2 * b + 1];
        branch.AnguloMin = least.Value;
        branch.EntradasMin = WithAngle(InputsAt(nominal, least.Point), least.Value);
        branch.AnguloMax = most.Value;
        branch.EntradasMax = WithAngle(InputsAt(nominal, most.Point), most.Value);
        branch.EnTodaLaCaja = !undefined[b];
    }
    return angles;
}

} // namespace

Real FigureOf(const CaseFigures& figures, CaseFigure which) {
    static constexpr Real CaseFigures::*kMembers[kCaseFigureCount] = {
        &CaseFigures::TiempoVuelo, &CaseFigures::AlturaMaxima, &CaseFigures::Alcance,
        &CaseFigures::VelocidadImpacto, &CaseFigures::AnguloImpacto};
    return figures.*kMembers[which];
}

const char* CaseFigureName(CaseFigure which) {
    return kFigureNames[which];
}

void CheckCaseQuestion(const CaseQuestion& question) {
    const CaseInputs& n = question.Nominal;
    const CaseTolerances& t = question.Tolerancias;
    const auto check = [](Real tolerance, const char* name) {
        if (!(tolerance >= 0) || std::isinf(tolerance))
            throw std::invalid_argument(std::string("La tolerancia de ") + name +
                                        " debe ser un número no negativo");
    };
    check(t.D, "D");
    check(t.M, "M");
    check(t.Vo, "Vo");
    check(t.Angulo, "ángulo");
    if (t.D > 0 && n.D - t.D < 0)
        throw std::invalid_argument("La tolerancia de D no puede ser mayor que D");
    if (t.M > 0 && !(n.M - t.M > 0))
        throw std::invalid_argument("La tolerancia de M debe ser menor que M");
    if (t.Vo > 0 && n.Vo - t.Vo < 0)
        throw std::invalid_argument("La tolerancia de Vo no puede ser mayor que Vo");
    if (question.Distancia && !(*question.Distancia > 0 && std::isfinite(*question.Distancia)))
        throw std::invalid_argument("La distancia debe ser un número positivo");
}

CaseAnswer AnalyzeCase(const CaseQuestion& question, const FiguresFunction& figures,
                       const AnalysisOptions& options) {
    CheckCaseQuestion(question);
    Runner runner(figures, options);
    const bool far = question.Lejano || question.Distancia;
    // The stages' shares of the work, in trajectories of the default case with
    // tolerances on D, M, Vo and the angle: about 560 for the band, 150 for the
    // nominal farthest reach, 400 for it over the box, 4,700 for the angles.
    Stages stages(options, {question.Banda ? 5.6 : 0.0, far ? 1.5 : 0.0, far ? 4.0 : 0.0,
                            question.Distancia ? 47.0 : 0.0});
    CaseAnswer answer;
    if (question.Banda)
        answer.Banda = BandOf(runner, stages, 0, question.Nominal, question.Tolerancias);
    if (far)
        answer.Lejano = FarthestOf(runner, stages, 1, question.Nominal, question.Tolerancias);
    if (question.Distancia)
        answer.Angulos = AnglesOf(runner, stages, 3, question.Nominal, question.Tolerancias,
                                  *question.Distancia, *answer.Lejano);
    answer.Trayectorias = runner.Count();
    if (options.Progress)
        options.Progress(1);
    return answer;
}

} // namespace korvo
