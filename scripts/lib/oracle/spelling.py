"""Netlist value texts: every way a student may write a value, each with the exact value it means.

The generator picks a form first and then a value the form can carry, so that each text is exact
by construction; the test double reads the same texts back with a parser of its own, which checks
this module from the other side.
"""

from fractions import Fraction

# Metric prefixes as a netlist accepts them; "µ" is the micro sign U+00B5.
PREFIXES = {"f": -15, "p": -12, "n": -9, "u": -6, "\u00b5": -6, "m": -3, "k": 3, "meg": 6,
            "g": 9, "t": 12}

# Mantissas of the E12 series, as two-digit integers.
E12 = (10, 12, 15, 18, 22, 27, 33, 39, 47, 56, 68, 82)

RESISTANCE_FORMS = (
    ["integer", "decimal", "exponent", "exponent-E", "exponent-signed", "comma", "comma-exponent",
     "fraction", "fraction-unreduced"]
    + ["prefix-" + p for p in PREFIXES]
    + ["rkm-R", "rkm-k", "rkm-meg", "unit-\u03a9", "unit-ohm", "prefix-unit", "rkm-unit",
       "siemens-plain", "siemens-m", "siemens-u", "siemens-\u00b5", "siemens-fraction",
       "siemens-comma", "siemens-exponent"])

GAIN_FORMS = ("integer", "decimal", "comma", "exponent", "fraction", "prefix")


def decimal_text(mantissa, exponent, point="."):
    """mantissa·10^exponent written out without an exponent: (47, -1) -> "4.7"."""
    sign = "-" if mantissa < 0 else ""
    digits = str(abs(mantissa))
    if exponent >= 0:
        return sign + digits + "0" * exponent
    places = -exponent
    if len(digits) <= places:
        digits = "0" * (places - len(digits) + 1) + digits
    text = (digits[:-places] + "." + digits[-places:]).rstrip("0").rstrip(".")
    return sign + text.replace(".", point)


def mantissa(rng):
    return rng.choice(E12) if rng.random() < 0.6 else rng.randint(10, 999)


def _odd_mantissa(rng):
    """A mantissa whose last digit is not 0, so that a decimal point stays in its text."""
    while True:
        m = rng.randint(101, 999)
        if m % 10:
            return m


def resistance(rng, form):
    """(text, resistance in ohms, written as a conductance) for a value in the given form."""
    if form.startswith("siemens"):
        return _siemens(rng, form)
    if form == "integer":
        m, e = mantissa(rng), rng.randint(0, 3)
        return decimal_text(m, e), Fraction(m) * 10 ** e, False
    if form in ("decimal", "comma"):
        m, e = _odd_mantissa(rng), rng.randint(-2, -1)
        point = "," if form == "comma" else "."
        return decimal_text(m, e, point), Fraction(m, 10 ** -e), False
    if form.startswith("exponent") or form == "comma-exponent":
        if form == "comma-exponent":
            m = _odd_mantissa(rng)
            shown = 2  # "4,75e2": the comma needs digits after it
        else:
            m = mantissa(rng)
            shown = rng.choice([0, len(str(m)) - 1])  # "470e-1" or "4.7e1"
        e = rng.randint(-1, 3)
        point = "," if form == "comma-exponent" else "."
        head = decimal_text(m, -shown, point)
        power = e + shown
        marker = "E" if form == "exponent-E" else "e"
        if form == "exponent-signed":
            power_text = ("+" if power >= 0 else "-") + str(abs(power))
        else:
            power_text = str(power)
        return head + marker + power_text, _value(m, e), False
    if form == "fraction":
        while True:
            p, q = rng.randint(1, 99999), rng.randint(2, 99)
            f = Fraction(p, q)
            if f.denominator == q and f >= Fraction(1, 2):
                return f"{p}/{q}", f, False
    if form == "fraction-unreduced":
        p, q, k = rng.randint(1, 999), rng.randint(2, 99), rng.randint(2, 9)
        return f"{p * k}/{q * k}", Fraction(p, q), False
    if form.startswith("prefix-") and form != "prefix-unit":
        prefix = form[len("prefix-"):]
        m, e = mantissa(rng), rng.randint(-1, 3)
        power = PREFIXES[prefix]
        return decimal_text(m, e - power) + prefix, _value(m, e), False
    if form.startswith("rkm-") and form != "rkm-unit":
        return _rkm(rng, form[len("rkm-"):])
    if form in ("unit-\u03a9", "unit-ohm"):
        unit = form[len("unit-"):]
        m, e = mantissa(rng), rng.randint(-1, 3)
        return decimal_text(m, e) + unit, _value(m, e), False
    if form == "prefix-unit":
        prefix = rng.choice(["k", "m", "meg"])
        unit = rng.choice(["\u03a9", "ohm"])
        m, e = mantissa(rng), {"k": rng.randint(2, 4), "m": rng.randint(-1, 0),
                               "meg": rng.randint(3, 4)}[prefix]
        return decimal_text(m, e - PREFIXES[prefix]) + prefix + unit, _value(m, e), False
    if form == "rkm-unit":
        text, value, _ = _rkm(rng, rng.choice(["R", "k"]))
        return text + rng.choice(["\u03a9", "ohm"]), value, False
    raise ValueError(form)


def _value(m, e):
    return Fraction(m) * 10 ** e if e >= 0 else Fraction(m, 10 ** -e)


def _rkm(rng, letter):
    """An RKM code: the letter stands where the decimal point would be ("4R7", "2k2", "1meg5")."""
    power = {"R": 0, "k": 3, "meg": 6}[letter]
    while True:
        m = rng.choice(E12) if rng.random() < 0.7 else rng.randint(101, 999)
        shift = rng.randint(1, len(str(m)) - 1)
        if m % 10 == 0:
            continue
        text = decimal_text(m, -shift)
        if "." in text:
            whole, frac = text.split(".")
            return whole + letter + frac, _value(m, power - shift), False


def _siemens(rng, form):
    """A conductance between 10 µS and 1 S (1 Ω to 100 kΩ), written with the unit S."""
    m = mantissa(rng)
    e = rng.randint(-6, -2)  # m·10^e S, m having two or three digits
    g = _value(m, e)
    if form == "siemens-plain":
        return decimal_text(m, e) + "S", 1 / g, True
    if form in ("siemens-m", "siemens-u", "siemens-\u00b5"):
        prefix = form[len("siemens-"):]
        return decimal_text(m, e - PREFIXES[prefix]) + prefix + "S", 1 / g, True
    if form == "siemens-fraction":
        p, q = rng.randint(1, 9), rng.randint(3, 999)
        return f"{p}/{q}S", Fraction(q, p), True
    if form == "siemens-comma":
        if rng.random() < 0.5:
            return decimal_text(m, e, ",") + "S", 1 / g, True
        return decimal_text(m, e + 3, ",") + "mS", 1 / g, True
    if form == "siemens-exponent":
        return f"{m}e{e}S", 1 / g, True
    raise ValueError(form)


def gain(rng, form, kind, negative):
    """(text, value) of a controlled source's gain: E and F ratios, G in siemens, H in ohms."""
    # The magnitude each kind of source has in a network of ohms to tens of kilohms: 10^scale.
    scale = {"E": -1, "F": -1, "G": -4, "H": 1}[kind]
    sign = -1 if negative else 1
    text_sign = "-" if negative else ""
    if form == "fraction":
        while True:
            p, q = rng.randint(1, 99), rng.randint(2, 99)
            f = Fraction(p, q) * Fraction(10) ** (scale + 1)
            if Fraction(p, q).denominator == q:
                if scale + 1 >= 0:
                    text = f"{p * 10 ** (scale + 1)}/{q}"
                else:
                    text = f"{p}/{q * 10 ** -(scale + 1)}"
                return text_sign + text, sign * f
    if form == "integer":
        m = {"E": rng.randint(1, 20), "F": rng.randint(1, 20), "G": rng.randint(1, 2),
             "H": rng.choice(E12) * 10 ** rng.randint(0, 2)}[kind]
        return text_sign + str(m), Fraction(sign * m)
    if form in ("decimal", "comma"):
        # Three digits with the last not 0, below the kind's scale, so a point is always written.
        m, e = _odd_mantissa(rng), min(scale - rng.randint(1, 2), -1)
        point = "," if form == "comma" else "."
        return text_sign + decimal_text(m, e, point), sign * _value(m, e)
    m, e = rng.choice(E12), scale + rng.randint(-1, 1)
    if form == "exponent":
        return f"{text_sign}{m}e{e}", sign * _value(m, e)
    if form == "prefix":
        prefix = "k" if kind == "H" and rng.random() < 0.5 else rng.choice(["m", "u", "\u00b5"])
        return text_sign + decimal_text(m, e - PREFIXES[prefix]) + prefix, sign * _value(m, e)
    raise ValueError(form)


def plain(value):
    """A Fraction as a netlist value a student might pass with --value: "5/11", "-2", "1500"."""
    if value.denominator == 1:
        return str(value.numerator)
    return f"{value.numerator}/{value.denominator}"
