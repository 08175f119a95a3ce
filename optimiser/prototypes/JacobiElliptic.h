#pragma once

#include <complex>
#include <vector>

namespace veltrana {

/// Jacobi elliptic functions of modulus k (0 <= k < 1) with the argument in units of the
/// complete integral K(k), computed by descending Landen transformations, which hold for
/// complex arguments as well as real ones.
class JacobiElliptic {
public:
    explicit JacobiElliptic(double k);

    /// cd(u K, k) and sn(u K, k).
    std::complex<double> cd(std::complex<double> u) const;
    std::complex<double> sn(std::complex<double> u) const;
    /// The u with sn(u K, k) = w, on the principal branch (real part in [-1, 1]).
    std::complex<double> asn(std::complex<double> w) const;
    /// K(k), the complete elliptic integral of the first kind.
    double K() const;

private:
    std::complex<double> Ascend(std::complex<double> w) const;

    double m_k;
    std::vector<double> m_moduli; ///< k1, k2, ... of the descending sequence, down to ~1e-16
};

} // namespace veltrana
