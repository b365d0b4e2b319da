#!/usr/bin/env python3
"""Records what messages-lint says about every collected document, to compare two builds.

For a change that must not change any output (a redesign), record before and after, then
compare the two folders: `diff -r BEFORE AFTER` shows every output that moved.

    tools/record_outputs.py --lint LINT --out DIR [--lsp-client tests/lsp/client.mjs --large-feed FEED] DOCUMENT_DIR...

Each document (every *.json of the folders, sorted) gets one file in DIR, named after its
folder and name, holding for each command its exit status, standard output and standard error:
every report format, `--diff` with and without `--unsafe-fixes`, and `--fix -` (the document on
standard input). With --lsp-client, the language server's every message of the Node client's
conversation (every UTF-8 document in every position encoding offer, with its code actions) goes
to DIR/lsp.jsonl. The time is pinned (`--now`, TZ=Europe/Moscow) and colour is off, so two runs
of the same build give the same folder. The documents' addresses are in what the server says:
give both runs the same folders (the collected documents of one build, say).
"""

import argparse
import concurrent.futures
import os
import subprocess
import sys
import tempfile
from pathlib import Path

NOW = "1800000000"
COMMANDS = [
    ["--format=human"],
    ["--format=json"],
    ["--format=github"],
    ["--format=sarif"],
    ["--diff"],
    ["--diff", "--unsafe-fixes"],
    ["--fix", "-"],
]
ENVIRONMENT = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "TZ": "Europe/Moscow", "LANG": "C.UTF-8",
               "NO_COLOR": "1"}


def record(lint, path):
    """The outputs of every command for one document, as bytes."""
    data = path.read_bytes()
    out = bytearray()
    for command in COMMANDS:
        stdin = command[-1] == "-"
        args = [lint, *command, f"--now={NOW}"] + ([] if stdin else ["--", path.name])
        run = subprocess.run(args, input=data if stdin else None, capture_output=True, cwd=path.parent,
                             env=ENVIRONMENT, timeout=60)
        out += f"$ messages-lint {' '.join(command)}\nstatus {run.returncode}\n--- stdout\n".encode()
        out += run.stdout + b"\n--- stderr\n" + run.stderr + b"\n"
    return bytes(out)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--lint", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--lsp-client")
    parser.add_argument("--large-feed")
    parser.add_argument("folders", nargs="+")
    args = parser.parse_args()
    lint = str(Path(args.lint).resolve())
    out = Path(args.out)
    out.mkdir(parents=True, exist_ok=True)
    documents = []
    for folder in args.folders:
        folder = Path(folder).resolve()
        documents += [(folder, p) for p in sorted(folder.glob("*.json"))]
    with concurrent.futures.ThreadPoolExecutor(max_workers=os.cpu_count() or 2) as pool:
        recorded = pool.map(lambda d: (d, record(lint, d[1])), documents)
        for (folder, path), text in recorded:
            (out / f"{folder.name}--{path.name}.txt").write_bytes(text)
    print(f"record_outputs: {len(documents)} documents, {len(COMMANDS)} commands each, in {out}")
    if args.lsp_client:
        if not args.large_feed:
            sys.exit("record_outputs: --lsp-client needs --large-feed")
        # One place for every run: the client's own files' addresses are in what it records.
        scratch = Path(tempfile.gettempdir()) / "record_outputs-lsp"
        run = subprocess.run(["node", args.lsp_client, f"--record={out / 'lsp.jsonl'}", lint, str(scratch),
                              args.large_feed, *[str(Path(f).resolve()) for f in args.folders]],
                             env={**ENVIRONMENT, "HOME": os.environ.get("HOME", "/root")}, timeout=1200)
        if run.returncode != 0:
            sys.exit(f"record_outputs: the language server's client failed with status {run.returncode}")


if __name__ == "__main__":
    main()
