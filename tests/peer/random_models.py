#!/usr/bin/env python3
"""Writes small random linear and integer models, each as model text (NAME.txt, the text
between MODEL: and END), as its GNU MathProg twin (NAME.mod) and as that twin without an
objective (NAME.feas, MathProg too), for the GO peer check.

Usage: random_models.py OUT-DIR FIRST-SEED LAST-SEED

A seed always gives the same model. The models mix minimising and maximising objectives,
<=, >= and = rows, default, free, boxed and negative bounds, general integer and binary
variables, so that the set holds optimal, infeasible and unbounded models of either kind.
"""
import random
import sys


def number(v):
    """A coefficient or bound as both languages write it."""
    return ("%d" % v) if v == int(v) else ("%g" % v)


def linear(terms, star):
    """The sum of coef * name terms, written with explicit signs (star is the product sign)."""
    out = []
    for coef, name in terms:
        sign = "-" if coef < 0 else "+"
        mag = abs(coef)
        body = name if mag == 1 else "%s %s %s" % (number(mag), star, name)
        out.append(("- " if sign == "-" else ("" if not out else "+ ")) + body)
    return " ".join(out)


def coefficient(rng):
    """A nonzero coefficient: mostly small integers, sometimes halves."""
    c = rng.choice([v for v in range(-9, 10) if v != 0])
    if rng.random() < 0.2:
        c += 0.5
    return c


def model(seed):
    rng = random.Random(seed)
    n = rng.randint(2, 7)
    m = rng.randint(1, 6)
    mip = rng.random() < 0.5
    names = ["X%d" % (j + 1) for j in range(n)]
    # Per variable: kind (C, I, B) and bounds (lo, up); None is no bound.
    kinds, lows, ups = [], [], []
    for _ in range(n):
        kind = "C"
        if mip:
            kind = rng.choices("CIB", [0.4, 0.4, 0.2])[0]
        lo, up = 0, None
        if kind != "B":
            r = rng.random()
            if r < 0.15:
                lo = None                           # free
            elif r < 0.45:
                lo = rng.randint(-6, 2)             # a box, perhaps below zero
                up = lo + rng.randint(0, 12)
            elif r < 0.5:
                lo, up = rng.randint(-8, -2), rng.randint(-1, 0)   # wholly negative
        kinds.append(kind)
        lows.append(lo)
        ups.append(up)
    # A point within the bounds (whole numbers, so integer variables may take it): most rows
    # hold there, so that most models are feasible; the others take a random right-hand side.
    point = []
    for j in range(n):
        lo = lows[j] if lows[j] is not None else -5
        up = ups[j] if ups[j] is not None else lo + 8
        point.append(1 if kinds[j] == "B" and rng.random() < 0.5 else
                     (0 if kinds[j] == "B" else rng.randint(lo, up)))
    rows = []
    used = set()
    for i in range(m):
        k = rng.randint(1, n)
        vars_ = sorted(rng.sample(range(n), k))
        used.update(vars_)
        terms = [(coefficient(rng), j) for j in vars_]
        sense = rng.choices(["<=", ">=", "="], [0.45, 0.4, 0.15])[0]
        if rng.random() < 0.75:
            act = sum(c * point[j] for c, j in terms)
            slack = 0 if sense == "=" else rng.randint(0, 6)
            rhs = act + slack if sense == "<=" else act - slack
        else:
            rhs = rng.randint(-10, 30)
        rows.append((terms, sense, rhs))
    obj = []
    for j in range(n):
        if j not in used or rng.random() < 0.8:
            obj.append((coefficient(rng), j))
    if not obj:
        obj.append((coefficient(rng), rng.randrange(n)))
    maximise = rng.random() < 0.5

    # model text
    txt = ["! random model, seed %d;" % seed]
    txt.append("%s = %s;" % ("MAX" if maximise else "MIN",
                             linear([(c, names[j]) for c, j in obj], "*")))
    for i, (terms, sense, rhs) in enumerate(rows):
        txt.append("[R%d] %s %s %s;" % (i + 1, linear([(c, names[j]) for c, j in terms], "*"),
                                        sense, number(rhs)))
    for j in range(n):
        if kinds[j] == "B":
            txt.append("@BIN(%s);" % names[j])
            continue
        if kinds[j] == "I":
            txt.append("@GIN(%s);" % names[j])
        if lows[j] is None:
            txt.append("@FREE(%s);" % names[j])
        elif ups[j] is not None:
            txt.append("@BND(%s, %s, %s);" % (number(lows[j]), names[j], number(ups[j])))

    # MathProg twin
    mod = ["# random model, seed %d" % seed]
    for j in range(n):
        if kinds[j] == "B":
            mod.append("var %s binary;" % names[j])
            continue
        parts = ["var", names[j]]
        if kinds[j] == "I":
            parts.append("integer")
        bounds = []
        if lows[j] is not None:
            bounds.append(">= %s" % number(lows[j]))
        if ups[j] is not None:
            bounds.append("<= %s" % number(ups[j]))
        mod.append(" ".join(parts) + (" " + ", ".join(bounds) if bounds else "") + ";")
    rowtext = []
    for i, (terms, sense, rhs) in enumerate(rows):
        rowtext.append("s.t. r%d: %s %s %s;" % (i + 1, linear([(c, names[j]) for c, j in terms], "*"),
                                               sense, number(rhs)))
    objective = "%s obj: %s;" % ("maximize" if maximise else "minimize",
                                 linear([(c, names[j]) for c, j in obj], "*"))
    # The feasibility twin: the same rows and bounds without an objective, to tell an
    # infeasible model from an unbounded one where the simplex leaves it open.
    feas = mod + ["minimize obj: 0 * %s;" % names[0]] + rowtext + ["end;"]
    mod = mod + [objective] + rowtext + ["end;"]
    return "\n".join(txt) + "\n", "\n".join(mod) + "\n", "\n".join(feas) + "\n"


def main():
    out, first, last = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    for seed in range(first, last + 1):
        txt, mod, feas = model(seed)
        with open("%s/rnd%03d.txt" % (out, seed), "w") as f:
            f.write(txt)
        with open("%s/rnd%03d.mod" % (out, seed), "w") as f:
            f.write(mod)
        with open("%s/rnd%03d.feas" % (out, seed), "w") as f:
            f.write(feas)


if __name__ == "__main__":
    main()
