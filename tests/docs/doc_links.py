#!/usr/bin/env python3
"""Checks that every relative link of the given Markdown documents resolves: the file or folder
exists, and an anchor (`#part`, alone or after a `.md` path) names a heading of that document as
GitHub makes it (lower case, punctuation but `-` and `_` dropped, spaces to `-`, a repeated one
suffixed `-1`, `-2`, ...) or an `<a id=...>`/`<a name=...>` of it. Links with a scheme (https:,
mailto:) are left alone. Prints one line per broken link and exits 1 when there is any.
"""

import re
import sys
from pathlib import Path

FENCE = re.compile(r"^(```+|~~~+)")
HEADING = re.compile(r"^#{1,6}\s+(.*?)\s*#*\s*$")
# [text](target "title") and ![alt](target); the text may hold one level of brackets.
INLINE_LINK = re.compile(r"!?\[(?:[^\[\]]|\[[^\]]*\])*\]\(\s*<?([^)\s>]+)>?(?:\s+\"[^\"]*\")?\s*\)")
REFERENCE = re.compile(r"^\s{0,3}\[[^\]]+\]:\s*<?(\S+?)>?(?:\s+.*)?$")
HTML_ANCHOR = re.compile(r"<a\s+(?:id|name)=\"([^\"]+)\"", re.IGNORECASE)
CODE_SPAN = re.compile(r"(`+)(.+?)\1")
SCHEME = re.compile(r"^[A-Za-z][A-Za-z0-9+.-]*:")


def prose_lines(text):
    """(line number, line) outside fenced code blocks."""
    fence = None
    for number, line in enumerate(text.split("\n"), 1):
        match = FENCE.match(line.lstrip())
        if fence is None and match:
            fence = match.group(1)[0] * len(match.group(1))
        elif fence is not None and line.lstrip().startswith(fence):
            fence = None
        elif fence is None:
            yield number, line


def slug(heading):
    text = re.sub(r"!?\[([^\]]*)\]\([^)]*\)", r"\1", heading)  # a link's text stays
    text = re.sub(r"<[^>]+>", "", text).lower()
    text = re.sub(r"[^\w\- ]", "", text)
    return text.replace(" ", "-")


# Headings and the anchors GitHub gives them, checked before any document: a slug that went
# wrong would pass broken links or refuse good ones.
SLUG_ROWS = [
    ("Set-up on a fresh Debian 12 machine", "set-up-on-a-fresh-debian-12-machine"),
    ("What check checks", "what-check-checks"),
    ("In CI: GitHub code scanning", "in-ci-github-code-scanning"),
    ("Страница messages-lint.html", "страница-messages-linthtml"),
    ("messages-lint в командной строке", "messages-lint-в-командной-строке"),
    ("Приоритет вне 0–2", "приоритет-вне-02"),
    ("The `--format=json` output", "the---formatjson-output"),
    ("A [linked](other.md) word_here", "a-linked-word_here"),
]


def anchors(path, cache):
    if path not in cache:
        found, seen = set(), {}
        for _, line in prose_lines(path.read_text(encoding="utf-8")):
            found.update(HTML_ANCHOR.findall(line))
            match = HEADING.match(line)
            if match:
                base = slug(match.group(1))
                count = seen.get(base, 0)
                seen[base] = count + 1
                found.add(base if count == 0 else f"{base}-{count}")
        cache[path] = found
    return cache[path]


def check(document, cache):
    problems = []
    for number, line in prose_lines(document.read_text(encoding="utf-8")):
        line = CODE_SPAN.sub("", line)
        targets = INLINE_LINK.findall(line)
        reference = REFERENCE.match(line)
        if reference:
            targets.append(reference.group(1))
        for target in targets:
            if SCHEME.match(target):
                continue
            path_part, _, anchor = target.partition("#")
            resolved = (document.parent / path_part).resolve() if path_part else document.resolve()
            where = f"{document}:{number}: {target}"
            if not resolved.exists():
                problems.append(f"{where}: no such file or folder")
            elif anchor and resolved.suffix != ".md":
                problems.append(f"{where}: an anchor into a file that is not Markdown")
            elif anchor and anchor not in anchors(resolved, cache):
                problems.append(f"{where}: no heading or anchor #{anchor} in {resolved.name}")
    return problems


def main(documents):
    if not documents:
        print("usage: doc_links.py DOCUMENT.md...", file=sys.stderr)
        return 2
    cache, problems = {}, []
    for heading, expected in SLUG_ROWS:
        if slug(heading) != expected:
            problems.append(f"slug({heading!r}) is {slug(heading)!r}, GitHub makes {expected!r}")
    for document in map(Path, documents):
        problems += check(document, cache)
    for problem in problems:
        print(problem)
    print(f"doc links: {len(documents)} documents, {len(problems)} broken links")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
