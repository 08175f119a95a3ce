#include "AxisScaling.h"

#include "NumberText.h"
#include "Text.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace veltrana {

namespace {

double Int(double x) {
    return std::floor(x);
}

double PowerOfTen(int exponent) {
    return std::pow(10.0, exponent);
}

// Products such as 1.1 * 10 land a hair above the integer they stand for; rounding that noise
// away first keeps the nice step at the value a person expects (1.1, not 1.2).
double CeilingOfTenths(double m) {
    double tenths = m * 10.0;
    const double nearest = std::round(tenths);
    if (std::fabs(tenths - nearest) < 1e-9 * std::fmax(1.0, std::fabs(nearest))) {
        tenths = nearest;
    }
    return Ceiling(tenths) / 10.0;
}

int DecadeExponent(double step) {
    if (step == 0 || (step >= 0.1 && step < 100)) {
        return 0;
    }
    // Spans near the smallest doubles would need a power of ten beyond the largest one.
    const int k = std::clamp(RoundToInt(Log10(step)), -300, 300);
    if (k > 0) {
        return 2 * static_cast<int>(Int(k / 2.0));
    }
    return 2 * static_cast<int>(Int((k - 1) / 2.0));
}

} // namespace

double Log10(double x) {
    return std::log10(x);
}

double Ceiling(double x) {
    return -std::floor(-x);
}

void ScaleAxis(double& min, double& max, int steps, int& exponent, std::string& log) {
    // Only the pole/zero map can hand over max < min; the axis is then scaled over the same
    // span in ascending order, so the picture stays readable and no point falls off it.
    if (max < min) {
        std::swap(min, max);
    }
    // Bounds that are not numbers cannot be scaled; an empty axis at zero keeps the plot sane.
    if (!std::isfinite(max - min)) {
        min = 0;
        max = 0;
    }
    const double n = steps > 0 ? steps : 1;

    exponent = DecadeExponent((max - min) / n);
    if (exponent > 0) {
        max /= PowerOfTen(exponent);
        min /= PowerOfTen(exponent);
    } else if (exponent < 0) {
        max *= PowerOfTen(-exponent);
        min *= PowerOfTen(-exponent);
    }

    double step = (max - min) / n;
    double candidate = 0;
    if (std::fabs(min) >= 0.1) {
        candidate = Int(min * 10) / 10;
    } else if (std::fabs(min) >= 0.01) {
        candidate = Int(Int(min * 100) / 10) / 10;
    }
    if (candidate < min && n * step * 1.1 > max - candidate) {
        min = candidate;
    }

    step = (max - min) / n;
    if (step == 0) {
        step = 1.1;
    }
    const double p = PowerOfTen(static_cast<int>(Int(Log10(step))));
    const double m = CeilingOfTenths(step / p);
    log += "\r\n\t Min/Max/step=  " + GeneralNumber(min) + " " + GeneralNumber(max) + " " +
           GeneralNumber(m) + " " + GeneralNumber(p);

    step = p * m;
    const double newMax = min + n * step;
    if (newMax >= max) {
        max = newMax;
    }
    log += "\r\n\t min/max/step= " + GeneralNumber(min) + " " + GeneralNumber(max) + " " +
           GeneralNumber(step);
}

void ScaleXAxis(double& min, double& max, int& exponent, std::string& log) {
    ScaleAxis(min, max, 11, exponent, log);
}

void ScaleYAxis(double& min, double& max, int& exponent, std::string& log) {
    ScaleAxis(min, max, 6, exponent, log);
}

} // namespace veltrana
