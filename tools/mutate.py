#!/usr/bin/env python3
"""Mutation run over C++ sources: one change at a time, rebuild, run the test programs.

Each mutant is one of: a deleted statement, a flipped comparison (< <=, > >=, == !=), a negated
`if`/`while` condition, or a numeric literal moved by one (outside string and character
literals). A mutant that does not compile is dropped; one that compiles is killed when a test
that reaches its file fails or runs past its time bound (a hang), and survives otherwise. The
source is restored after every mutant and at the end (also on Ctrl-C or SIGTERM). It builds in the
configured `test` preset (`cmake --preset test`, then one full build and `ctest --preset test`
first, so the test fixtures' files exist), with `--jobs` jobs (two by default).

    tools/mutate.py [--max N] [--seed S] [--only LINE,...] FILE...
    tools/mutate.py --rerun EARLIER_OUTPUT     # the survivors of an earlier run, after new tests
    tools/mutate.py --skip EARLIER_OUTPUT FILE...  # the mutants an earlier run left out

Which tests reach a file is the table REACHES: GoogleTest programs run directly (fail-fast), the
other tests with the command and folder ctest has for them. Each test's time is bounded by the
script, whatever TIMEOUT the test sets: five times what it took on the unmutated build, and at
least 10 seconds. Results go to standard output, one line per mutant:
`killed|survived|no-build FILE:LINE kind: text`; a survivor is followed by the line as mutated
(`  => text`) and the reason it is equivalent from REASONS (`--reasons`), or "no reason given".
The counts per file come last.

REASONS holds survivors' lines as this script prints them, each followed by its reason, indented;
an `  => text` line between them tells apart two mutants of one kind on one line. A reason is
found by file, kind and text, not by line number, so that it survives lines moving.
"""

import argparse
import json
import os
import random
import signal
import re
import subprocess
import sys
import time
from collections import Counter
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
BIN = ROOT / "build" / "test" / "bin"
REASONS = ROOT / "tools" / "mutate_reasons.txt"

# The tests that reach each part of the sources, the first matching prefix deciding; the quick
# ones first, so that most mutants are killed before the slow ones run.
LSP_CLIENTS = ["lsp_session_test", "lsp_neovim_client", "lsp_neovim_fix_all", "lsp_node_client"]
LINT_FRONT = ["lint_test", "lint_fix_test", "lint_pre_commit", "doc_examples", "lint_sarif_schema"]
REACHES = [
    ("src/messages-lint/lsp/", LSP_CLIENTS),
    ("src/messages-lint/", LINT_FRONT + LSP_CLIENTS + ["lint_agreement"]),
    ("src/blocks/feed_files/write_file", ["lint_fix_test", "lint_test", "doc_examples"]),
    ("src/lint/", ["lint_notes_test", "lint_workbench_test", "lint_summary_test", "lint_fix_test", "lint_fix_properties"] + LINT_FRONT +
     LSP_CLIENTS + ["lint_agreement"]),
    ("src/blocks/common/", ["text_test", "parse_feed_test", "cli_test", "lint_notes_test"] + LINT_FRONT +
     ["e2e_test", "lint_agreement"]),
    ("src/", ["parse_feed_test", "feed_acceptance_test", "cli_test", "e2e_test", "lint_test", "lint_notes_test",
              "lint_fix_test", "lint_agreement"]),
]

COMPARISONS = [("<=", "<"), (">=", ">"), ("==", "!="), ("!=", "=="), ("<", "<="), (">", ">=")]
# A comparison operator standing alone: not part of <<, >>, ->, <=>, a template bracket next to a name.
COMPARISON = re.compile(r"(?<=\s)(<=|>=|==|!=|<|>)(?=\s)")
NUMBER = re.compile(r"(?<![\w.])(0x[0-9A-Fa-f]+|\d+)(?![\w.'])")
LITERAL = re.compile(r'"(?:[^"\\]|\\.)*"|\'(?:[^\'\\]|\\.)*\'')
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
        # String and character literals blanked out, so that nothing inside them is mutated.
        code = LITERAL.sub(lambda m: '"' + " " * (len(m.group(0)) - 2) + '"', line).split("//")[0]
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
            octal = len(text) > 1 and text.startswith("0") and not text.startswith("0x")
            value = int(text, 8) if octal else int(text, 0)
            for delta in (1, -1):
                if value + delta < 0:
                    continue
                new = (hex(value + delta) if text.startswith("0x") else "0" + oct(value + delta)[2:] if octal
                       else str(value + delta))
                out.append((i, f"{text} -> {new}", line[: m.start()] + new + line[m.end():]))
    return out


def run(cmd, cwd=ROOT, timeout=None):
    """The command's exit status; -1 when it ran past `timeout` (it and its children are killed)."""
    process = subprocess.Popen(cmd, cwd=cwd, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL, start_new_session=True)
    try:
        return process.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        os.killpg(process.pid, signal.SIGKILL)
        process.wait()
        return -1
    except BaseException:
        os.killpg(process.pid, signal.SIGKILL)
        process.wait()
        raise


def reaching(name):
    return next(tests for prefix, tests in REACHES if name.startswith(prefix))


def commands(names):
    """How to run each named test: a GoogleTest program directly, any other as ctest has it."""
    listed = json.loads(subprocess.run(["ctest", "--preset", "test", "--show-only=json-v1"], cwd=ROOT,
                                       capture_output=True, check=True, text=True).stdout)
    known = {}
    for test in listed["tests"]:
        folder = next((p["value"] for p in test.get("properties", []) if p["name"] == "WORKING_DIRECTORY"), ROOT)
        known[test["name"]] = (test["command"], folder)
    out = {}
    for name in names:
        if name in known:
            out[name] = known[name]
        elif (BIN / name).exists():  # its tests are known to ctest by their own names
            out[name] = ([str(BIN / name), "--gtest_fail_fast", "--gtest_brief=1"], ROOT)
        else:
            sys.exit(f"no test {name}")
    return out


class Tests:
    """The tests of a file, each with its time bound, measured on the unmutated build."""

    def __init__(self, names):
        self.commands = commands(names)
        self.bounds = {}
        for name, (command, folder) in self.commands.items():
            began = time.monotonic()
            if run(command, folder, timeout=600) != 0:
                sys.exit(f"the unmutated build fails {name}")
            self.bounds[name] = max(10.0, 5 * (time.monotonic() - began))

    def kill(self):
        """Whether some test fails or runs past its bound."""
        return any(run(command, folder, timeout=self.bounds[name]) != 0
                   for name, (command, folder) in self.commands.items())


def read_reasons(path):
    """The committed reasons, by (file, kind, text, mutated text or None)."""
    reasons = {}
    if not path.exists():
        return reasons
    key = None
    for line in path.read_text().splitlines():
        if not line.strip() or line.startswith("#"):
            continue
        if line.startswith("  => ") and key:
            key = (*key[:3], line[5:].strip())
        elif line.startswith((" ", "\t")):
            if key:
                reasons[key] = (reasons.get(key, "") + " " + line.strip()).strip()
        elif m := re.match(r"(?:survived )?(\S+):\d+ (.+?): (.*)$", line):
            key = (m.group(1), m.group(2), m.group(3).strip(), None)
    return reasons


def reason_of(reasons, name, kind, text, mutated):
    return reasons.get((name, kind, text, mutated)) or reasons.get((name, kind, text, None))


def main():
    # Stopped by Ctrl-C or a plain kill, even when started in the background (where SIGINT is
    # ignored), the run still restores the source it is mutating.
    signal.signal(signal.SIGINT, signal.default_int_handler)
    signal.signal(signal.SIGTERM, lambda *_: sys.exit("stopped"))
    parser = argparse.ArgumentParser()
    parser.add_argument("--max", type=int, default=0, help="at most this many mutants per file (a sample)")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--only", default="", help="only mutants on these line numbers (1-based, comma-separated)")
    parser.add_argument("--list", action="store_true", help="list the mutants without running them")
    parser.add_argument("--rerun", help="only the mutants an earlier run's output shows as survivors (its files)")
    parser.add_argument("--skip", help="leave out the mutants an earlier run's output shows (to sample the rest)")
    parser.add_argument("--jobs", type=int, default=2, help="build jobs (two at most on a shared machine)")
    parser.add_argument("--reasons", type=Path, default=REASONS, help="the equivalent mutants' reasons")
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
    build = ["cmake", "--build", "--preset", "test", f"-j{args.jobs}"]
    reasons = read_reasons(args.reasons)
    if not args.list and run(build) != 0:
        sys.exit("the unmutated build fails")
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
        counts = totals.setdefault(name, {"killed": 0, "survived": 0, "no-build": 0, "equivalent": 0})
        # Measured on the unmutated build: the last mutant of the file before may have left its binaries.
        if not args.list and chosen and run(build) != 0:
            sys.exit("the unmutated build fails")
        tests = None if args.list or not chosen else Tests(reaching(name))
        try:
            for i, kind, new in chosen:
                shown = f"{name}:{i + 1} {kind}: {lines[i].strip()}"
                if args.list:
                    print(shown, flush=True)
                    continue
                changed = lines[:i] + ([] if new is None else [new]) + lines[i + 1:]
                path.write_text("\n".join(changed))
                outcome = "no-build" if run(build) != 0 else "killed" if tests.kill() else "survived"
                counts[outcome] += 1
                print(f"{outcome} {shown}", flush=True)
                if outcome == "survived":
                    mutated = "" if new is None else new.strip()
                    reason = reason_of(reasons, name, kind, lines[i].strip(), mutated)
                    counts["equivalent"] += reason is not None
                    if new is not None:
                        print(f"  => {mutated}")
                    print(f"    equivalent: {reason}" if reason else "    no reason given", flush=True)
        finally:
            path.write_text(original)
    if args.list:
        return
    run(build)
    for name, c in totals.items():
        print(f"{name}: {c['killed']} killed, {c['survived']} survived ({c['equivalent']} of them equivalent), "
              f"{c['no-build']} did not build")


if __name__ == "__main__":
    main()
