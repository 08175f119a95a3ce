#pragma once

#include "DesignProblem.h"
#include "FilterModel.h"

#include <random>
#include <string>
#include <vector>

namespace veltrana {

/// A classical low-pass whose poles and zeros are known in closed form, normalised to a pass
/// band edge of 1, in the parameter order and signs of FilterLayout (magnitudes of the real
/// parts, imaginary parts from 0 up).
struct Prototype {
    std::string name;
    FilterLayout layout;
    std::vector<double> truth;
    /// Fitted with its group delay: the delay table holds the delay that the prototype
    /// equalises to a constant, so that its error sum is 0 at the answer.
    bool withDelay = false;
    /// Highest normalised frequency of the pass-band table (it reaches into the stop band).
    double topFrequency = 2;
};

/// Maximally flat magnitude, |H|^2 = 1 / (1 + w^(2 order)).
Prototype ButterworthPrototype(int order);
/// Equal ripple of `rippleDb` in the pass band, poles on an ellipse.
Prototype ChebyshevPrototype(int order, double rippleDb);
/// Equal ripple of `rippleDb` in the pass band and equal sidelobes from `stopEdge` on, with
/// order / 2 omega-axis zeros; from the elliptic degree equation and Jacobi functions.
Prototype EllipticPrototype(int order, double rippleDb, double stopEdge);
/// Maximally flat group delay (reverse Bessel polynomial), 3 dB down at w = 1; fitted with
/// its delay.
Prototype BesselPrototype(int order);

/// The prototypes of the known-answer tests and benchmark, simplest first.
std::vector<Prototype> KnownAnswerPrototypes();

/// The design problem that fits `p`'s magnitude (and delay) from the constellation `start`:
/// 40 pass-band points up to topFrequency, freqNorm 10 MHz, limits .005 and 22, no settings.
DesignProblem KnownAnswerProblem(const Prototype& p, const std::vector<double>& start);

/// The answer with every location moved by a random 30 to 50 % (either way).
std::vector<double> PerturbedStart(const Prototype& p, std::mt19937& rng);

/// The minimum of the fit's error sum next to the prototype, found by a descent from it. It is
/// the prototype itself where its error sum is 0; with two or more omega zeros the sidelobe
/// term takes the last lobe only up to 1.5 times the last zero, short of an elliptic filter's
/// last peak, and moves the minimum a little away from the prototype.
std::vector<double> ObjectiveAnswer(const Prototype& p);

/// True when x is `answer` (a constellation of p) within `tolerance` (relative), pole pairs
/// and omega zeros taken in any order.
bool FoundAnswer(const Prototype& p, const std::vector<double>& answer,
                 const std::vector<double>& x, double tolerance = 1e-4);

} // namespace veltrana
