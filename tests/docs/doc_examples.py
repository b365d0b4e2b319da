#!/usr/bin/env python3
"""Runs the shell examples of the documents against the built programs and compares their output.

A document marks what it expects a reader to paste:

    ```console                      run: each `$ ` line is a command (`> ` lines continue it), the
    $ messages-lint draft.json      lines after it up to the next command are its standard output
    draft.json:4:84: ...            and standard error as printed, in order
    ```

    ```console status=1             the commands' exit statuses, one per command in order (the last
                                    one repeats); without it every command must exit 0
    ```console not-run=REASON       shown but not run; REASON is one of NOT_RUN_REASONS
    ```json file=draft.json         not a command: its text is written to draft.json in the scratch
                                    folder, for the examples after it (any language tag)

Each document runs in a scratch folder of its own laid out like the top of a clone: `examples/`,
`tests/keys/dev_seed.hex`, `scripts/dev-sign` (signing with the given signer, MT_SIGN_FEED), and
`build/dev/bin/messages-tool`; `messages-tool` (built with the development key) and
`messages-lint` come first on the PATH. The comparison normalises only what differs between
machines: the scratch folder's path becomes `.` and the project's version `<version>`.

A shell code block that is neither run nor marked not-run fails the test, so an example cannot
slip out of it. `--update` writes the programs' output into the documents instead of comparing,
for a deliberate change of output (review the diff).
"""

import argparse
import difflib
import os
import re
import shutil
import subprocess
import sys
from pathlib import Path

# Why an example may be shown without being run here.
NOT_RUN_REASONS = {
    "root": "installs packages or files system-wide (needs root and Debian's archive)",
    "release-key": "needs the production key or builds a release",
    "long-build": "builds another preset, which takes minutes",
    "macos": "runs on macOS only",
    "ci-only": "needs a CI service or a hosted repository",
    "long-run": "runs for minutes (fuzzing, timing)",
    "browser": "opens a browser",
}
SHELL_TAGS = {"console", "sh", "shell", "bash", "zsh"}
FENCE = re.compile(r"^( *)(```+)(.*)$")
COMMAND_TIMEOUT = 60


class Block:
    def __init__(self, tag, attrs, indent, first, lines):
        self.tag, self.attrs, self.indent, self.first, self.lines = tag, attrs, indent, first, lines


def parse_blocks(text):
    """Fenced blocks as (tag, attributes, index of the first body line, body lines)."""
    lines = text.split("\n")
    blocks, i = [], 0
    while i < len(lines):
        match = FENCE.match(lines[i])
        if not match:
            i += 1
            continue
        indent, fence, words = len(match.group(1)), match.group(2), match.group(3).split()
        tag = words[0] if words else ""
        attrs = dict(w.split("=", 1) if "=" in w else (w, "") for w in words[1:])
        end = i + 1
        while end < len(lines) and not lines[end].lstrip().startswith(fence):
            end += 1
        if end == len(lines):
            raise ValueError(f"line {i + 1}: code block not closed")
        blocks.append(Block(tag, attrs, indent, i + 1, [line[indent:] for line in lines[i + 1 : end]]))
        i = end + 1
    return lines, blocks


def split_commands(block_lines):
    """[(command, shown output lines)] of a console block."""
    commands = []
    for line in block_lines:
        if line.startswith("$ "):
            commands.append([line[2:], []])
        elif line.startswith("> ") and commands and not commands[-1][1]:
            commands[-1][0] += "\n" + line[2:]
        elif commands:
            commands[-1][1].append(line)
        else:
            raise ValueError(f"output before any command: {line!r}")
    return commands


def lay_out_scratch(scratch, args):
    if scratch.exists():
        shutil.rmtree(scratch)
    (scratch / "bin").mkdir(parents=True)
    (scratch / "build/dev/bin").mkdir(parents=True)
    (scratch / "scripts").mkdir()
    (scratch / "tests/keys").mkdir(parents=True)
    shutil.copytree(args.source / "examples", scratch / "examples")
    shutil.copy(args.source / "tests/keys/dev_seed.hex", scratch / "tests/keys")
    shutil.copy(args.source / "scripts/dev-sign", scratch / "scripts")
    emulator = " ".join(f"'{w}'" for w in args.emulator.split("|") if w)
    for name, program in (("messages-tool", args.tool), ("messages-lint", args.lint),
                          ("sign_feed", args.signer)):
        wrapper = scratch / "bin" / name
        wrapper.write_text(f"#!/bin/sh\nexec {emulator} '{Path(program).resolve()}' \"$@\"\n")
        wrapper.chmod(0o755)
    shutil.copy(scratch / "bin/messages-tool", scratch / "build/dev/bin/messages-tool")


def run_command(command, scratch, args):
    env = {
        "PATH": f"{scratch / 'bin'}:/usr/local/bin:/usr/bin:/bin",
        "HOME": str(scratch),
        "LC_ALL": "C.UTF-8",
        "TZ": "UTC",
        "TERM": "dumb",
        "MT_SIGN_FEED": str(scratch / "bin/sign_feed"),
    }
    done = subprocess.run(["sh", "-c", command + "\n"], cwd=scratch, env=env, stdin=subprocess.DEVNULL,
                          stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=COMMAND_TIMEOUT)
    output = done.stdout.decode("utf-8", errors="backslashreplace")
    output = output.replace(str(scratch.resolve()) + "/", "").replace(str(scratch.resolve()), ".")
    if args.version:
        output = re.sub(rf"(?<![\w.]){re.escape(args.version)}(?![\w.])", "<version>", output)
    shown = output.split("\n")
    if shown and shown[-1] == "":
        shown.pop()
    return done.returncode, shown


def check_document(path, args, report):
    text = path.read_text(encoding="utf-8")
    lines, blocks = parse_blocks(text)
    scratch = args.scratch / path.name.removesuffix(".md")
    lay_out_scratch(scratch, args)
    failures = 0
    replacements = []  # (first line, end line, new body lines)
    for block in blocks:
        where = f"{path.name}:{block.first}"
        if "file" in block.attrs:
            target = scratch / block.attrs["file"]
            target.parent.mkdir(parents=True, exist_ok=True)
            target.write_text("\n".join(block.lines) + "\n", encoding="utf-8")
            continue
        if block.tag not in SHELL_TAGS:
            continue
        if "not-run" in block.attrs:
            reason = block.attrs["not-run"]
            if reason not in NOT_RUN_REASONS:
                print(f"{where}: FAILED: not-run={reason!r} is none of {sorted(NOT_RUN_REASONS)}")
                failures += 1
            else:
                report.append(f"not run  {where} ({reason}: {NOT_RUN_REASONS[reason]})")
            continue
        if block.tag != "console":
            print(f"{where}: FAILED: a {block.tag!r} block is neither `console` (run) nor marked not-run=REASON")
            failures += 1
            continue
        statuses = [int(s) for s in block.attrs.get("status", "0").split(",")]
        body = []
        for index, (command, shown) in enumerate(split_commands(block.lines)):
            expected_status = statuses[min(index, len(statuses) - 1)]
            status, actual = run_command(command, scratch, args)
            first_line = command.split("\n")[0]
            if status != expected_status:
                print(f"{where}: FAILED: `{first_line}` exited {status}, the document says {expected_status}")
                print("\n".join("    " + line for line in actual))
                failures += 1
            if actual != shown and not args.update:
                print(f"{where}: FAILED: `{first_line}` printed other output than shown")
                diff = difflib.unified_diff(shown, actual, "shown", "printed", lineterm="")
                print("\n".join("    " + line for line in diff))
                failures += 1
            body.append("$ " + command.replace("\n", "\n> "))
            body.extend(actual)
        report.append(f"run      {where}")
        replacements.append((block.first, block.first + len(block.lines),
                             [" " * block.indent + line if line else line for line in body]))
    if args.update:
        for first, end, body in reversed(replacements):
            lines[first:end] = body
        new_text = "\n".join(lines)
        if new_text != text:
            path.write_text(new_text, encoding="utf-8")
            print(f"{path}: updated")
    return failures


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--source", type=Path, required=True, help="top of the source tree")
    parser.add_argument("--tool", required=True, help="messages-tool built with the development key")
    parser.add_argument("--lint", required=True, help="messages-lint")
    parser.add_argument("--signer", required=True, help="sign_feed, the test signer")
    parser.add_argument("--scratch", type=Path, required=True, help="a folder this test may empty")
    parser.add_argument("--emulator", default="", help="words that run a program, joined by |")
    parser.add_argument("--version", default="",
                        help="the project's version, shown as <version> (default: CMakeLists.txt's)")
    parser.add_argument("--update", action="store_true", help="write the output into the documents")
    parser.add_argument("documents", type=Path, nargs="+")
    args = parser.parse_args()
    args.scratch = args.scratch.resolve()
    if not args.version:
        project = re.search(r"project\([^)]*VERSION\s+([0-9.]+)", (args.source / "CMakeLists.txt").read_text())
        args.version = project.group(1) if project else ""
    failures, report = 0, []
    for document in args.documents:
        try:
            failures += check_document(document, args, report)
        except (ValueError, OSError, subprocess.TimeoutExpired) as error:
            print(f"{document}: FAILED: {error}")
            failures += 1
    print("\n".join(report))
    ran = sum(1 for line in report if line.startswith("run"))
    print(f"doc examples: {ran} run, {len(report) - ran} not run, {failures} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
