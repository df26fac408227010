"""Polynomials with rational coefficients in named symbols: just enough for the test double to
print formulas (fraction-free elimination needs +, -, * and exact division)."""

from fractions import Fraction


def _mono_mul(a, b):
    d = dict(a)
    for v, e in b:
        d[v] = d.get(v, 0) + e
    return tuple(sorted(d.items()))


class Poly:
    __slots__ = ("terms",)

    def __init__(self, terms=None):
        self.terms = {m: c for m, c in (terms or {}).items() if c}

    @staticmethod
    def const(c):
        return Poly({(): Fraction(c)})

    @staticmethod
    def var(name):
        return Poly({((name, 1),): Fraction(1)})

    @staticmethod
    def of(x):
        return x if isinstance(x, Poly) else Poly.const(x)

    def __add__(self, other):
        other = Poly.of(other)
        t = dict(self.terms)
        for m, c in other.terms.items():
            t[m] = t.get(m, 0) + c
        return Poly(t)

    __radd__ = __add__

    def __neg__(self):
        return Poly({m: -c for m, c in self.terms.items()})

    def __sub__(self, other):
        return self + (-Poly.of(other))

    def __rsub__(self, other):
        return Poly.of(other) - self

    def __mul__(self, other):
        other = Poly.of(other)
        t = {}
        for m1, c1 in self.terms.items():
            for m2, c2 in other.terms.items():
                m = _mono_mul(m1, m2)
                t[m] = t.get(m, 0) + c1 * c2
        return Poly(t)

    __rmul__ = __mul__

    def __eq__(self, other):
        if isinstance(other, (int, Fraction, Poly)):
            return (self - other).terms == {}
        return NotImplemented

    def __hash__(self):
        return hash(tuple(sorted(self.terms.items())))

    def __bool__(self):
        return bool(self.terms)

    def variables(self):
        return sorted({v for m in self.terms for v, _ in m})

    def _leading(self, order):
        def key(m):
            d = dict(m)
            return tuple(d.get(v, 0) for v in order)
        m = max(self.terms, key=key)
        return m, self.terms[m]

    def exact_div(self, divisor):
        """self / divisor, which must divide it."""
        divisor = Poly.of(divisor)
        if not divisor:
            raise ZeroDivisionError
        if not divisor.variables():
            c = divisor.terms[()]
            return Poly({m: v / c for m, v in self.terms.items()})
        order = sorted(set(self.variables()) | set(divisor.variables()))
        dm, dc = divisor._leading(order)
        quotient, rest = Poly(), self
        while rest:
            rm, rc = rest._leading(order)
            rd, dd = dict(rm), dict(dm)
            if any(rd.get(v, 0) < e for v, e in dd.items()):
                raise ArithmeticError("not an exact division")
            q = Poly({tuple(sorted((v, rd[v] - dd.get(v, 0)) for v in rd
                                   if rd[v] - dd.get(v, 0))): rc / dc})
            quotient = quotient + q
            rest = rest - q * divisor
        return quotient

    def evaluate(self, values):
        total = Fraction(0)
        for m, c in self.terms.items():
            t = c
            for v, e in m:
                t *= Fraction(values[v]) ** e
            total += t
        return total

    def substitute(self, values):
        """Puts in the values it has names for; the other symbols stay."""
        out = Poly()
        for m, c in self.terms.items():
            t = Poly.const(c)
            for v, e in m:
                t = t * (Poly.const(Fraction(values[v]) ** e) if v in values else
                         Poly({((v, e),): Fraction(1)}))
            out = out + t
        return out

    def text(self):
        if not self.terms:
            return "0"
        parts = []
        for m in sorted(self.terms, key=lambda m: (-sum(e for _, e in m), m)):
            c = self.terms[m]
            factors = [v if e == 1 else f"{v}^{e}" for v, e in m]
            magnitude = abs(c)
            if magnitude != 1 or not factors:
                factors.insert(0, str(magnitude))
            term = "*".join(factors)
            if not parts:
                parts.append(("-" if c < 0 else "") + term)
            else:
                parts.append((" - " if c < 0 else " + ") + term)
        return "".join(parts)


def determinant(matrix):
    """Fraction-free (Bareiss) determinant of a square matrix of Polys."""
    m = [[Poly.of(x) for x in row] for row in matrix]
    n = len(m)
    sign = 1
    prev = Poly.const(1)
    for k in range(n - 1):
        pivot = next((i for i in range(k, n) if m[i][k]), None)
        if pivot is None:
            return Poly()
        if pivot != k:
            m[k], m[pivot] = m[pivot], m[k]
            sign = -sign
        for i in range(k + 1, n):
            for j in range(k + 1, n):
                m[i][j] = (m[k][k] * m[i][j] - m[i][k] * m[k][j]).exact_div(prev)
            m[i][k] = Poly()
        prev = m[k][k]
    return m[n - 1][n - 1] * sign
