#include "JacobiElliptic.h"

#include <cmath>
#include <numbers>

namespace veltrana {

using Complex = std::complex<double>;

JacobiElliptic::JacobiElliptic(double k) : m_k(k) {
    // Each step squares the modulus roughly (k' = (k / (1 + sqrt(1 - k^2)))^2): five or six
    // steps reach the limit where sn and cd are plain sine and cosine.
    for (double v = k; v > 1e-16;) {
        v = v / (1 + std::sqrt(1 - v * v));
        v *= v;
        m_moduli.push_back(v);
    }
}

Complex JacobiElliptic::Ascend(Complex w) const {
    for (auto v = m_moduli.rbegin(); v != m_moduli.rend(); ++v) {
        w = (1 + *v) * w / (1.0 + *v * w * w);
    }
    return w;
}

Complex JacobiElliptic::cd(Complex u) const {
    return Ascend(std::cos(u * std::numbers::pi / 2.0));
}

Complex JacobiElliptic::sn(Complex u) const {
    return Ascend(std::sin(u * std::numbers::pi / 2.0));
}

Complex JacobiElliptic::asn(Complex w) const {
    // Invert cd step by step down the sequence, then the cosine; sn(u) = cd(1 - u).
    double previous = m_k;
    for (double v : m_moduli) {
        w = w / (1.0 + std::sqrt(1.0 - w * w * previous * previous)) * 2.0 / (1 + v);
        previous = v;
    }
    return 1.0 - std::acos(w) * 2.0 / std::numbers::pi;
}

double JacobiElliptic::K() const {
    double k = std::numbers::pi / 2;
    for (double v : m_moduli) {
        k *= 1 + v;
    }
    return k;
}

} // namespace veltrana
