#!/usr/bin/python3
"""Fits input files with SciPy's general-purpose bounded least squares (least_squares, method
"trf") on the same objective, start and bounds as the optimiser, runs the optimiser on each,
and prints a Markdown table of both.

    optimiser/bench/scipy_compare.py <optimiser program> <input file or directory>...

A directory stands for the input files in it, in name order: optimiser/examples for the seven
examples, the directory that `bench_known_answers --write DIR` fills for the known-answer
problems. Both final constellations are scored here with the same objective (our fit read back
from its result file); ours is "no worse" when its error sum is at most 1 % above SciPy's, or
when both are exact fits to round-off (below 1e-26 times the error sum of H = 0, an RMS error
of 1e-13 relative to the data: there the sums are rounding noise).
Our time is that of the whole optimiser process (the best of three), SciPy's that of its fit
alone (the best of up to three). Every location of our fit is checked against its limits.

Needs python3-scipy (tools/deps.sh). Not part of the build or the tests.
"""
import math
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

import numpy as np
from scipy.optimize import least_squares

def read_values(path):
    """The value of every line: text before the first "!", trimmed, TABs removed."""
    with open(path, encoding="cp1252", newline="") as f:
        lines = f.read().split("\r\n")
    values = []
    for line in lines:
        v = line.split("!", 1)[0].strip().replace("\t", "").strip()
        values.append("" if v.startswith("-999") else v)
    return values


def numbers(text):
    return [float(t) for t in text.replace(",", " ").split()]


class Problem:
    def __init__(self, path):
        v = read_values(path)
        a = v[1:23]
        n = int(float(v[23] or 0))
        rows = [numbers(v[26 + i]) for i in range(n)]
        m = int(float(v[26 + n] or 0))
        drows = [numbers(v[29 + n + j]) for j in range(m)]
        yes = lambda t: t in ("Y", "y")
        self.delay = yes(a[0])
        self.tmin = float(a[1] or 0)
        q = abs(float(a[2] or 0))
        self.q = 2.0 if q == 0 else q
        ipower = float(a[3])
        weights = yes(a[4])
        mvr = float(a[5])
        self.fnorm = float(a[6])
        ns, npairs = [int(x) for x in numbers(a[7])]
        self.ns, self.np = ns, npairs
        kind = 0
        if yes(a[11]):
            doublet, lossless = yes(a[13]), yes(a[14])
            kind = (3 if not doublet else 4) if lossless else (2 if doublet else 1)
        self.kind = kind
        ny, nzp, nzq = [int(x) for x in numbers(a[15] or "0 0 0")]
        self.ny, self.nzp, self.nzq = ny, nzp, nzq
        self.gain0 = float(a[19])
        lo, hi = float(a[20]), float(a[21])
        x, lb, ub = [], [], []

        def add(value, l, u):
            x.append(min(max(value, l), u))
            lb.append(l)
            ub.append(u)

        if ns:
            add(float(a[8]), lo, hi)
        re_, im_ = numbers(a[9]), numbers(a[10])
        for k in range(npairs):
            add(re_[k], lo, hi)
            add(im_[k], 0.0, hi)
        if kind:
            add(float(a[12]), lo, hi)
        for y in numbers(a[16])[:ny] if ny else []:
            add(y, 1.0, hi)
        if nzp + nzq:
            zr, zi = numbers(a[17]), numbers(a[18])
            for qq in range(nzp + nzq):
                if zr[qq] < 0:
                    add(zr[qq], -hi, -lo)
                else:
                    add(zr[qq], lo, hi)
                add(zi[qq], 0.0, hi)
        self.x0, self.lb, self.ub = np.array(x), np.array(lb), np.array(ub)
        f = np.array([r[0] for r in rows])
        self.w = f / self.fnorm
        self.yin = np.array([r[1] for r in rows])
        self.yout = np.array([r[2] for r in rows])
        wt = np.array([r[-1] for r in rows]) if weights else np.ones(n)
        self.k = math.sqrt(mvr) * wt / self.yout ** ipower
        self.dw = np.array([r[0] for r in drows]) / self.fnorm
        self.tx = np.array([r[1] for r in drows])
        self.ns_per_unit = 1000.0 / (2 * math.pi * self.fnorm)

    def split(self, x):
        i = 0
        sp = None
        if self.ns:
            sp = x[0]
            i = 1
        pairs = [(x[i + 2 * k], x[i + 2 * k + 1]) for k in range(self.np)]
        i += 2 * self.np
        c = None
        if self.kind:
            c = x[i]
            i += 1
        ys = x[i:i + self.ny]
        i += self.ny
        zs = [(x[i + 2 * q], x[i + 2 * q + 1]) for q in range(self.nzp + self.nzq)]
        return sp, pairs, c, ys, zs

    def mag2(self, x, w):
        sp, pairs, c, ys, zs = self.split(x)
        w2 = w * w
        num = np.ones_like(w)
        den = np.ones_like(w)
        if sp is not None:
            den = den * (w2 + sp * sp)
        for a, b in pairs:
            den = den * (((w - b) ** 2 + a * a) * ((w + b) ** 2 + a * a))
        if c is not None:
            num = num * (w2 + c * c) ** [0, 1, 2, 2, 4][self.kind]
        for y in ys:
            num = num * (y * y - w2) ** 2
        for q, (d, e) in enumerate(zs):
            f = ((w - e) ** 2 + d * d) * ((w + e) ** 2 + d * d)
            num = num * (f if q < self.nzp else f * f)
        return num / den

    def delay_n(self, x, w):
        sp, pairs, c, ys, zs = self.split(x)
        L = lambda a, v: a / (a * a + v * v)
        tau = np.zeros_like(w)
        if sp is not None:
            tau += L(sp, w)
        for a, b in pairs:
            tau += L(a, w - b) + L(a, w + b)
        if self.kind == 1:
            tau -= L(c, w)
        elif self.kind == 2:
            tau -= 2 * L(c, w)
        for d, e in zs[:self.nzp]:
            tau -= L(d, w - e) + L(d, w + e)
        return tau

    def peak(self, x, a, b):
        grid = a + (b - a) * np.arange(1, 33) / 32
        vals = self.mag2(x, grid)
        i = int(np.argmax(vals))
        lo, hi = a + (b - a) * i / 32, min(b, a + (b - a) * (i + 2) / 32)
        g = (math.sqrt(5) - 1) / 2
        x1, x2 = hi - g * (hi - lo), lo + g * (hi - lo)
        f1, f2 = self.mag2(x, np.array([x1]))[0], self.mag2(x, np.array([x2]))[0]
        for _ in range(40):
            if hi - lo <= 1e-10 * (1 + abs(hi)):
                break
            if f1 < f2:
                lo, x1, f1 = x1, x2, f2
                x2 = lo + g * (hi - lo)
                f2 = self.mag2(x, np.array([x2]))[0]
            else:
                hi, x2, f2 = x2, x1, f1
                x1 = hi - g * (hi - lo)
                f1 = self.mag2(x, np.array([x1]))[0]
        return max(vals[i], f1, f2)

    def residuals(self, x, gain=None):
        h = np.sqrt(self.mag2(x, self.w))
        if gain is None:
            den = np.sum(self.k ** 2 * h * h * self.yin ** 2)
            gain = np.sum(self.k ** 2 * h * self.yin * self.yout) / den if den > 0 else 0.0
        r = [self.k * (gain * h * self.yin - self.yout)]
        if self.delay:
            total = self.tx + self.delay_n(x, self.dw) * self.ns_per_unit
            target = self.tmin if self.tmin != 0 else np.mean(total)
            e = (total - target) / (target if target != 0 else 1.0)
            r.append(np.sign(e) * np.abs(e) ** (self.q / 2))
        if self.ny >= 2:
            _, _, _, ys, _ = self.split(x)
            ys = np.sort(ys)
            hmax2 = np.max(h * h)
            levels = []
            for m in range(len(ys)):
                b = ys[m + 1] if m + 1 < len(ys) else 1.5 * ys[-1]
                levels.append(10 * math.log10(max(self.peak(x, ys[m], b), 1e-300) / hmax2))
            levels = np.array(levels)
            r.append((levels - levels.mean()) / 20)
        return np.concatenate(r)


def read_result(path, p):
    """The constellation and gain of a result file of model -2, in the order of p.split."""
    with open(path, encoding="cp1252") as f:
        lines = [line.strip() for line in f.read().splitlines()]
    at = 5  # after the header, the first record and the delay record
    ns, npairs = [int(v) for v in lines[at].split()]
    at += 1
    x = []
    if ns:
        x.append(-float(lines[at]))
        at += 1
    re_ = [-float(v) for v in lines[at].split()][:npairs]
    im_ = [float(v) for v in lines[at + 1].split()][:npairs]
    at += 2
    for a, b in zip(re_, im_):
        x += [a, b]
    if int(lines[at]) >= 1:
        x.append(-float(lines[at + 1].split()[0]))
        at += 1
    at += 1
    ny, nzp, nzq = [int(v) for v in lines[at].split()]
    at += 1
    if ny:
        x += [float(v) for v in lines[at].split()][:ny]
        at += 1
    if nzp + nzq:
        zr = [-float(v) for v in lines[at].split()][:nzp + nzq]
        zi = [float(v) for v in lines[at + 1].split()][:nzp + nzq]
        at += 2
        for d, e in zip(zr, zi):
            x += [d, e]
    return np.array(x), float(lines[at])


def run_ours(program, path):
    """Our fit of the input file: its constellation, gain, process time (best of three) and
    evaluations."""
    family = tempfile.mkdtemp()
    try:
        user = os.path.join(family, "Veltr.hz", "User")
        os.makedirs(user)
        name = os.path.basename(path)
        shutil.copy(path, user)
        best = math.inf
        for _ in range(3):
            began = time.perf_counter()
            status = subprocess.run([program, name, user, family, family[:2], name[:2]]).returncode
            best = min(best, time.perf_counter() - began)
        with open(os.path.join(user, "~Veltra.out"), encoding="cp1252") as f:
            listing = f.read()
        evals = int(re.search(r"model evaluations (\d+)", listing).group(1))
        result = os.path.join(user, name.lower().replace(".", "_", 1).split(".")[0] + ".dat")
        return status, result, best, evals, family
    except Exception:
        shutil.rmtree(family)
        raise


def inputs(arguments):
    for a in arguments:
        if os.path.isdir(a):
            for name in sorted(os.listdir(a)):
                if not name.endswith((".cpp", ".dat", ".out", ".json")):
                    yield os.path.join(a, name)
        else:
            yield a


def main():
    program = sys.argv[1]
    # Evaluations count every residual vector computed, those of the finite-difference
    # Jacobians included (SciPy) and every evaluation with or without derivatives (ours).
    print("| problem | start error sum | our final | our evaluations | our process (ms) "
          "| scipy final | scipy evaluations | scipy fit (ms) | ours no worse | inside limits |")
    print("|---|---|---|---|---|---|---|---|---|---|")
    worse = outside = slow = 0
    for path in inputs(sys.argv[2:]):
        p = Problem(path)
        start = float(np.sum(p.residuals(p.x0, p.gain0) ** 2))
        status, result, ours_s, evals, family = run_ours(program, path)
        try:
            x, gain = read_result(result, p)
        finally:
            shutil.rmtree(family)
        ours = float(np.sum(p.residuals(x) ** 2))
        inside = bool(np.all(x >= p.lb) and np.all(x <= p.ub))
        scipy_s = math.inf
        for _ in range(3):
            began = time.perf_counter()
            fit = least_squares(p.residuals, p.x0, bounds=(p.lb, p.ub), method="trf")
            scipy_s = min(scipy_s, time.perf_counter() - began)
            if scipy_s > 2:
                break
        theirs = float(np.sum(p.residuals(fit.x) ** 2))
        round_off = 1e-26 * float(np.sum((p.k * p.yout) ** 2))
        no_worse = ours <= theirs * 1.01 + round_off
        worse += not no_worse
        outside += not inside
        slow += ours_s > 0.05
        print(f"| {os.path.basename(path)} | {start:.6g} | {ours:.6g} | {evals} | {ours_s * 1000:.1f} "
              f"| {theirs:.6g} | {fit.nfev + fit.njev * len(p.x0)} | {scipy_s * 1000:.0f} "
              f"| {'yes' if no_worse else 'NO'} | {'yes' if inside else 'NO'} |"
              + ("" if status == 0 else " (run failed)"), flush=True)
    print(f"\n{worse} fits worse than SciPy's, {outside} outside their limits, "
          f"{slow} processes over 50 ms.")


if __name__ == "__main__":
    main()
