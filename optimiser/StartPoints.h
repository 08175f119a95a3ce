#pragma once

#include "FitProblem.h"

#include <vector>

namespace veltrana {

/// Start n (from 1) of a set spread evenly over the whole box of limits: a Halton sequence,
/// shifted by `seed`, on the log scale of each location's magnitude (a pole at 0.01 and one
/// at 10 are equally likely). The same n and seed give the same point.
std::vector<double> SpreadStart(const FitProblem& problem, int n, unsigned seed);

/// A start near x: each location moved by a factor of up to exp(radius) either way, drawn
/// from a generator seeded with (seed, n). A location on one of its limits (or, for an
/// imaginary part, below the smallest magnitude allowed) is drawn anew over its whole range:
/// it is what held the descent back.
std::vector<double> StartAround(const FitProblem& problem, const std::vector<double>& x,
                                double radius, int n, unsigned seed);

} // namespace veltrana
