#!/usr/bin/python3
"""The language server's web worker (lsp-worker.js) in headless Chromium, served over HTTP.

Workers do not start from file://, so the worker and a test page (lsp_worker_page.mjs, bundled
with vscode-jsonrpc's browser transport) are served from a scratch folder by Python's
http.server on 127.0.0.1 at a port the system picks, inside this process, stopped at the end.
For each row of the table, a new worker gets the row's options (or none) as its first message,
then the draft: its diagnostics must equal the native `messages-lint --format=json` of the same
bytes with the row's arguments (on the clock: at a second the check may have run; count, place, severity, rule, text with its notes), the
source.fixAll.messages-lint action applied must give the bytes of native `messages-lint --fix -`,
the log must hold the row's lines, and the worker must raise no error. The time from the
worker made to its first diagnostics is printed for each row, not judged.

    lsp_worker_browser.py --worker LSP_WORKER_JS --page PAGE_JS --lint NATIVE_MESSAGES_LINT
                          --draft DRAFT --scratch DIR
"""
import argparse
import functools
import http.server
import json
import os
import shutil
import subprocess
import sys
import threading
import time

from selenium import webdriver
from selenium.webdriver.chrome.options import Options
from selenium.webdriver.chrome.service import Service

FIX_ALL = "source.fixAll.messages-lint"
URI = "file:///feeds/messages.json"
LOG_ERROR = 1
GOOD = ('{"schema":1,"revision":3,"messages":[\n'
        '{"id":"a","priority":1,"title":"Тёмная тема","body":"Включите её в настройках.",'
        '"start_at":1767225600,"end_at":1769904000}\n]}\n').encode()
NOW = 1796000000


def rows(draft):
    """name, bytes, the worker's first message (None: none), native arguments, log lines expected."""
    # The draft with its two mistakes mended: it reads, and every window ended before NOW.
    readable = draft.replace("“".encode(), b'"').replace("”".encode(), b'"').replace(b"    },\n  ]", b"    }\n  ]")
    assert readable != draft and b"},\n  ]" not in readable
    # Problems after characters of two and four bytes, one and two UTF-16 units.
    wide = ('{"schema":1,"revision":1,"messages":[{"id":"😀ж","priority":0,"title":"Тёмная",'
            '"body":"x","start_at":2,"end_at":1}]}\n').encode()
    return [
        ("options", draft, {"warnings": True, "now": 0}, ["--now=0"], []),
        ("ended windows", readable, {"now": NOW}, ["--now=%d" % NOW], []),
        ("now as text", readable, {"now": str(NOW)}, ["--now=%d" % NOW], []),
        ("no warnings", readable, {"warnings": False, "now": NOW}, ["--now=%d" % NOW, "--no-warnings"], []),
        ("wide characters", wide, {"now": 0}, ["--now=0"], []),
        ("clean draft", GOOD, {"now": 0}, ["--now=0"], []),
        # Refused options: said in the log, and the defaults (warnings, the clock) apply.
        ("wrong warnings", readable, {"warnings": "no"}, [],
         [(LOG_ERROR, "[messages-lint] параметры воркера не приняты: warnings ждёт true или false")]),
        ("unknown option", readable, {"now": NOW, "colour": True}, [],
         [(LOG_ERROR, "[messages-lint] параметры воркера не приняты: неизвестный параметр colour")]),
        ("now out of range", readable, {"now": "9223372036854775808"}, [],
         [(LOG_ERROR, "[messages-lint] параметры воркера не приняты: now ждёт целое число секунд Unix")]),
        # No options: the first message is initialize, served with the defaults.
        ("no options", readable, None, [], []),
    ]


def native(lint, args, data, scratch):
    """The native report (JSON Lines) and the bytes of `--fix -`, for the draft's bytes."""
    path = os.path.join(scratch, "messages.json")
    with open(path, "wb") as out:
        out.write(data)
    report = subprocess.run([lint, "--format=json", *args, "messages.json"], cwd=scratch, capture_output=True,
                            check=False, timeout=30)
    fixed = subprocess.run([lint, "--fix", "-", *args], input=data, capture_output=True, check=False, timeout=30)
    for run in (report, fixed):
        if run.returncode not in (0, 1):
            sys.exit("messages-lint failed: %s" % run.stderr.decode())
    return [json.loads(line) for line in report.stdout.decode().splitlines()], fixed.stdout


def utf16_position(data, offset):
    """The protocol's line and character (UTF-16 units) of a byte offset in UTF-8 `data`."""
    before = data[:offset]
    line = before.count(b"\n")
    column = before[before.rfind(b"\n") + 1:].decode()
    return line, len(column.encode("utf-16-le")) // 2


def expected_diagnostic(data, problem):
    line, character = utf16_position(data, problem["start_byte_offset"])
    message = ("после первой ошибки: " if problem.get("after_first_error") else "") + problem["text"] + "".join("\nпримечание: " + note for note in problem["notes"])
    return {"line": line, "character": character, "severity": 1 if problem["severity"] == "error" else 2,
            "code": problem["rule"], "message": message}


def shown_diagnostic(d):
    start = d["range"]["start"]
    return {"line": start["line"], "character": start["character"], "severity": d.get("severity"),
            "code": d.get("code"), "message": d["message"]}


def apply_edits(text, edits):
    """The text after the protocol's edits (UTF-16 positions), applied from the last to the first."""
    units = text.encode("utf-16-le")
    starts = [0]
    for i in range(0, len(units), 2):
        if units[i:i + 2] == b"\n\x00":
            starts.append(i // 2 + 1)
    offset = lambda p: 2 * (starts[p["line"]] + p["character"])
    for e in sorted(edits, key=lambda e: (e["range"]["start"]["line"], e["range"]["start"]["character"]),
                    reverse=True):
        units = units[:offset(e["range"]["start"])] + e["newText"].encode("utf-16-le") + units[offset(e["range"]["end"]):]
    return units.decode("utf-16-le")


def edits_of(action):
    edit = action.get("edit") or {}
    if "documentChanges" in edit:
        return [e for change in edit["documentChanges"] if change["textDocument"]["uri"] == URI for e in change["edits"]]
    return edit.get("changes", {}).get(URI, [])


class Quiet(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def browser():
    options = Options()
    options.binary_location = "/usr/bin/chromium"
    for argument in ("--headless=new", "--no-sandbox", "--disable-gpu", "--window-size=1000,800",
                     "--disable-background-networking", "--no-first-run"):
        options.add_argument(argument)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)


def call(driver, script, *args):
    """Runs an async script on window.lsp; its value, or the error it threw."""
    return driver.execute_async_script("""
        const done = arguments[arguments.length - 1];
        (async () => { %s })().then((value) => done({ value }), (e) => done({ error: String(e) }));
    """ % script, *args)


def main():
    parser = argparse.ArgumentParser()
    for name in ("worker", "page", "lint", "draft", "scratch"):
        parser.add_argument("--" + name, required=True)
    given = parser.parse_args()
    site = os.path.join(given.scratch, "site")
    shutil.rmtree(given.scratch, ignore_errors=True)
    os.makedirs(site)
    shutil.copy(given.worker, os.path.join(site, "lsp-worker.js"))
    shutil.copy(given.page, os.path.join(site, "page.js"))
    with open(os.path.join(site, "index.html"), "w") as out:
        out.write('<!doctype html><meta charset="utf-8"><title>lsp worker</title><link rel="icon" href="data:,"><body><script src="page.js"></script>')
    with open(given.draft, "rb") as source:
        draft = source.read()

    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Quiet, directory=site))
    server.timeout = 5
    threading.Thread(target=server.serve_forever, daemon=True).start()
    driver = None
    failures = []
    try:
        driver = browser()
        driver.set_script_timeout(20)
        driver.get("http://127.0.0.1:%d/index.html" % server.server_address[1])
        if not driver.execute_script("return document.body.dataset.ready === '1'"):
            sys.exit("the test page did not start")
        for name, data, options, args, logs in rows(draft):
            # On the clock, the worker checks at some second between two native runs at fixed times.
            clock = not any(a.startswith("--now=") for a in args)
            before = int(time.time())
            text = data.decode()
            started = call(driver, "return await lsp.start(arguments[0], arguments[1]);", options, text)
            if "error" in started:
                failures.append("%s: initialize: %s" % (name, started["error"]))
                continue
            got = call(driver, "return await lsp.diagnostics();")["value"]
            after = int(time.time())
            shown = [shown_diagnostic(d) for d in got]
            seconds = range(before, after + 1) if clock else [None]
            wanted = []
            for second in seconds:
                problems, fixed = native(given.lint, args + (["--now=%d" % second] if clock else []), data, given.scratch)
                wanted.append([expected_diagnostic(data, p) for p in problems])
                if shown == wanted[-1]:
                    break
            want = wanted[-1]
            if shown != want:
                failures.append("%s: diagnostics\n  got  %s\n  want %s" % (name, shown, want))
            actions = call(driver, "return await lsp.request('textDocument/codeAction', arguments[0]);", {
                "textDocument": {"uri": URI},
                "range": {"start": {"line": 0, "character": 0}, "end": {"line": text.count("\n") + 1, "character": 0}},
                "context": {"diagnostics": got, "only": [FIX_ALL]}})
            if "error" in actions:
                failures.append("%s: codeAction: %s" % (name, actions["error"]))
                continue
            fix_all = [a for a in actions["value"] or [] if a.get("kind") == FIX_ALL]
            result = apply_edits(text, edits_of(fix_all[0])) if fix_all else text
            if result.encode() != fixed:
                failures.append("%s: fix-all gives\n%s\nwhere messages-lint --fix - gives\n%s" % (name, result, fixed.decode()))
            state = call(driver, "return { logs: lsp.logs, errors: lsp.errors, first: lsp.firstDiagnosticsMs };")["value"]
            refused = [tuple(entry) for entry in state["logs"] if entry[0] == LOG_ERROR]
            if refused != logs:
                failures.append("%s: log errors %s, expected %s" % (name, refused, logs))
            if state["errors"]:
                failures.append("%s: the worker raised %s" % (name, state["errors"]))
            print("%s: %d diagnostics, fix-all %s; first diagnostics %.0f ms after the worker was made"
                  % (name, len(got), "applied" if fix_all else "not offered", state["first"]))
        console = [entry for entry in driver.get_log("browser") if entry["level"] in ("SEVERE", "WARNING")]
        if console:
            failures.append("console: %s" % console)
    finally:
        if driver is not None:
            driver.quit()
        server.shutdown()
        server.server_close()
    for failure in failures:
        print("FAIL: " + failure)
    if failures:
        sys.exit(1)
    print("lsp_worker_browser: passed")


if __name__ == "__main__":
    main()
