#!/usr/bin/env python3
"""messages-lint --format=sarif against the SARIF 2.1.0 JSON Schema, and against its own JSON Lines.

One run over every collected test document, the example, a path with a space and Cyrillic in
it and a file that does not exist: the log must validate against the schema that
@microsoft/jest-sarif ships (installed into node_modules by `npm ci --ignore-scripts`, which
scripts/bootstrap --sarif runs; a missing schema fails the test), and each result must be the
problem that --format=json reports at the same place, with the level of its severity and the
same fix.

Usage: sarif_test.py --lint PROGRAM --schema SCHEMA --scratch DIR [--emulator WORDS] DOCUMENT_DIR...
"""
import argparse
import json
import os
import shutil
import subprocess
import sys
import urllib.parse

import jsonschema


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--lint", required=True)
    parser.add_argument("--schema", required=True)
    parser.add_argument("--scratch", required=True)
    parser.add_argument("--emulator", default="")
    parser.add_argument("documents", nargs="+")
    args = parser.parse_args()

    if not os.path.isfile(args.schema):
        sys.exit("no SARIF schema at %s: run scripts/bootstrap --sarif (npm ci --ignore-scripts)" % args.schema)
    with open(args.schema, encoding="utf-8") as source:
        schema = json.load(source)

    shutil.rmtree(args.scratch, ignore_errors=True)
    os.makedirs(args.scratch)
    odd = os.path.join(args.scratch, "черновик с пробелом.json")
    with open(odd, "w", encoding="utf-8") as out:
        out.write('{"schema": 1, "revision": 0}\n')
    files = [odd, os.path.join(args.scratch, "missing.json")]
    for directory in args.documents:
        for root, _, names in os.walk(directory):
            files += sorted(os.path.join(root, name) for name in names if not name.endswith(".sig"))

    command = [word for word in args.emulator.split("|") if word] + [args.lint]
    sarif_run = subprocess.run(command + ["--format=sarif", "--now=0", "--"] + files, capture_output=True)
    json_run = subprocess.run(command + ["--format=json", "--now=0", "--"] + files, capture_output=True)
    if sarif_run.returncode != 2 or json_run.returncode != 2:
        sys.exit("expected exit status 2 (a missing file), got %d and %d: %s"
                 % (sarif_run.returncode, json_run.returncode, sarif_run.stderr.decode()))

    log = json.loads(sarif_run.stdout)
    jsonschema.Draft4Validator.check_schema(schema)
    errors = sorted(jsonschema.Draft4Validator(schema).iter_errors(log), key=lambda e: list(e.path))
    for error in errors[:10]:
        print("schema: %s at %s" % (error.message, "/".join(map(str, error.path))), file=sys.stderr)
    if errors:
        sys.exit("the SARIF log does not validate: %d errors" % len(errors))

    (run,) = log["runs"]
    rules = [rule["id"] for rule in run["tool"]["driver"]["rules"]]
    problems = [json.loads(line) for line in json_run.stdout.decode().splitlines()]
    located = [p for p in problems if p["rule"] != "read"]
    failures = []
    if run["columnKind"] != "unicodeCodePoints":
        failures.append("columnKind %s" % run["columnKind"])
    if len(run["results"]) != len(located):
        failures.append("%d results for %d problems" % (len(run["results"]), len(located)))
    for result, problem in zip(run["results"], located):
        (location,) = result["locations"]
        physical = location["physicalLocation"]
        seen = (result["ruleId"], result["level"], urllib.parse.unquote(physical["artifactLocation"]["uri"]),
                physical["region"]["startLine"], physical["region"]["startColumn"],
                result["message"]["text"].split("\n")[0], rules[result["ruleIndex"]],
                [(r["deletedRegion"]["byteOffset"], r["deletedRegion"]["byteLength"],
                  r.get("insertedContent", {}).get("text", ""), fix["properties"]["safe"])
                 for fix in result.get("fixes", []) for r in fix["artifactChanges"][0]["replacements"]])
        wanted = (problem["rule"], problem["severity"], problem["file"], problem["line"], problem["column"],
                  problem["text"], problem["rule"],
                  [(e["begin"], e["end"] - e["begin"], e["replacement"], problem["fix"]["safe"])
                   for e in problem.get("fix", {}).get("edits", [])])
        if seen != wanted:
            failures.append("result %s, json problem %s" % (seen, wanted))
    notifications = run["invocations"][0].get("toolExecutionNotifications", [])
    uris = [urllib.parse.unquote(n["locations"][0]["physicalLocation"]["artifactLocation"]["uri"])
            for n in notifications]
    if uris != [files[1]] or run["invocations"][0]["executionSuccessful"]:
        failures.append("notifications for %s, executionSuccessful %s"
                        % (uris, run["invocations"][0]["executionSuccessful"]))
    if not any(p["file"] == odd for p in located):
        failures.append("no result for %s" % odd)
    for failure in failures[:20]:
        print(failure, file=sys.stderr)
    if failures:
        sys.exit("SARIF and JSON Lines disagree: %d failures" % len(failures))
    print("SARIF log of %d files, %d results: valid" % (len(files), len(run["results"])))


if __name__ == "__main__":
    main()
