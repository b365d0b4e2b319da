#!/usr/bin/env python3
"""Mutation run over C++ sources: one change at a time, rebuild, run the test programs.

Each mutant is one of: a deleted statement, a flipped comparison (< <=, > >=, == !=), a negated
`if`/`while` condition, or a numeric literal moved by one. A mutant that does not compile is
dropped; one that compiles is killed when a test program fails or runs past a minute (a hang),
and survives otherwise. The source is restored after every mutant and at the end (also on
Ctrl-C). It builds in the configured `test` preset (`cmake --preset test` first), two jobs at most.

    tools/mutate.py [--max N] [--seed S] [--only LINE,...] FILE...
    tools/mutate.py --rerun EARLIER_OUTPUT     # the survivors of an earlier run, after new tests
    tools/mutate.py --skip EARLIER_OUTPUT FILE...  # the mutants an earlier run left out

Results go to standard output, one line per mutant: `killed|survived|no-build FILE:LINE kind: text`,
then the counts per file. Build and tests are those of the lint core (see BUILD and TESTS).
"""

import argparse
import random
import re
import subprocess
import sys
from collections import Counter
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
TESTS = ["lint_test", "lint_notes_test", "lint_summary_test", "text_test"]
BUILD = ["cmake", "--build", "--preset", "test", "-j2", "--target", *TESTS]
BIN = ROOT / "build" / "test" / "bin"

COMPARISONS = [("<=", "<"), (">=", ">"), ("==", "!="), ("!=", "=="), ("<", "<="), (">", ">=")]
# A comparison operator standing alone: not part of <<, >>, ->, <=>, a template bracket next to a name.
COMPARISON = re.compile(r"(?<=\s)(<=|>=|==|!=|<|>)(?=\s)")
NUMBER = re.compile(r"(?<![\w.])(0x[0-9A-Fa-f]+|\d+)(?![\w.'])")
CONDITION = re.compile(r"\b(if|while) \(")


def skipped(line):
    s = line.strip()
    return not s or s.startswith(("#", "//", "namespace", "}", "{")) or "constexpr char16_t" in s


def mutants(lines):
    """Every mutant of the file: (line index, kind, new line text or None to delete it)."""
    out = []
    table = False
    for i, line in enumerate(lines):
        s = line.strip()
        if s.endswith("= {") and "[" in s:
            table = True
        if table:
            table = not s.startswith("};")
            continue
        if skipped(line):
            continue
        code = line.split("//")[0]
        # A whole statement on one line, not a declaration of something used later.
        if code.rstrip().endswith(";") and not re.match(r"\s*(const|constexpr|std::|auto|bool|char|Piece|Cluster|"
                                                        r"Excerpt|Counts|FeedLocations|MessageSummary|Problem|"
                                                        r"Character|return|struct|using)\b", code):
            out.append((i, "delete", None))
        for m in COMPARISON.finditer(code):
            for old, new in COMPARISONS:
                if m.group(1) == old:
                    out.append((i, f"{old} -> {new}", line[: m.start()] + new + line[m.end():]))
                    break
        for m in CONDITION.finditer(code):
            # Negate the whole parenthesised condition.
            start = m.end() - 1
            depth = 0
            for j in range(start, len(line)):
                depth += {"(": 1, ")": -1}.get(line[j], 0)
                if depth == 0:
                    break
            else:
                continue
            out.append((i, "negate", line[: start + 1] + "!(" + line[start + 1: j] + ")" + line[j:]))
        for m in NUMBER.finditer(code):
            text = m.group(1)
            value = int(text, 0)
            for delta in (1, -1):
                if value + delta < 0:
                    continue
                new = hex(value + delta) if text.startswith("0x") else str(value + delta)
                out.append((i, f"{text} -> {new}", line[: m.start()] + new + line[m.end():]))
    return out


def run(cmd, timeout=None):
    try:
        return subprocess.run(cmd, cwd=ROOT, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                              timeout=timeout).returncode
    except subprocess.TimeoutExpired:
        return -1  # a mutant that makes a test hang is caught by the test's time limit


def killed():
    return any(run([str(BIN / t), "--gtest_fail_fast", "--gtest_brief=1"], timeout=60) != 0 for t in TESTS)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--max", type=int, default=0, help="at most this many mutants per file (a sample)")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--only", default="", help="only mutants on these line numbers (1-based, comma-separated)")
    parser.add_argument("--list", action="store_true", help="list the mutants without running them")
    parser.add_argument("--rerun", help="only the mutants an earlier run's output shows as survivors (its files)")
    parser.add_argument("--skip", help="leave out the mutants an earlier run's output shows (to sample the rest)")
    parser.add_argument("files", nargs="*")
    args = parser.parse_args()
    only = {int(n) for n in args.only.split(",") if n}
    done = Counter()
    if args.skip:
        for line in Path(args.skip).read_text().splitlines():
            if m := re.match(r"(?:killed|survived|no-build) (\S+):(\d+) (.+?): ", line):
                done[(m.group(1), int(m.group(2)), m.group(3))] += 1
    survivors = Counter()
    if args.rerun:
        for line in Path(args.rerun).read_text().splitlines():
            if m := re.match(r"survived (\S+):(\d+) (.+?): ", line):
                survivors[(m.group(1), int(m.group(2)), m.group(3))] += 1
        args.files = sorted({f for f, _, _ in survivors})
    if not args.list and (run(BUILD) != 0 or killed()):
        sys.exit("the unmutated build fails its tests")
    totals = {}
    for name in args.files:
        path = ROOT / name
        original = path.read_text()
        lines = original.split("\n")
        chosen = [m for m in mutants(lines) if not only or m[0] + 1 in only]
        if survivors:
            # As many of each line's mutants of a kind as survived, in the order the earlier run took them.
            left = survivors.copy()
            kept = []
            for m in chosen:
                if left[(name, m[0] + 1, m[1])] > 0:
                    left[(name, m[0] + 1, m[1])] -= 1
                    kept.append(m)
            chosen = kept
        if done:
            kept = []
            for m in chosen:
                if done[(name, m[0] + 1, m[1])] > 0:
                    done[(name, m[0] + 1, m[1])] -= 1
                else:
                    kept.append(m)
            chosen = kept
        if args.max and len(chosen) > args.max:
            chosen = sorted(random.Random(args.seed).sample(chosen, args.max))
        counts = totals.setdefault(name, {"killed": 0, "survived": 0, "no-build": 0})
        try:
            for i, kind, new in chosen:
                shown = f"{name}:{i + 1} {kind}: {lines[i].strip()}"
                if args.list:
                    print(shown, flush=True)
                    continue
                changed = lines[:i] + ([] if new is None else [new]) + lines[i + 1:]
                path.write_text("\n".join(changed))
                outcome = "no-build" if run(BUILD) != 0 else "killed" if killed() else "survived"
                counts[outcome] += 1
                print(f"{outcome} {shown}", flush=True)
        finally:
            path.write_text(original)
    run(BUILD)
    for name, c in totals.items():
        print(f"{name}: {c['killed']} killed, {c['survived']} survived, {c['no-build']} did not build")


if __name__ == "__main__":
    main()
