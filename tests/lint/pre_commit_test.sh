#!/bin/sh
# The pre-commit hook of .pre-commit-hooks.yaml, tried with Debian's pre-commit (try-repo) in a
# scratch git repository, with the built messages-lint on the PATH: a bad messages.json fails
# the hook, which names that file and no other; good feeds (and a bad file of another name)
# pass. No network: the hook's language is system.
#   pre_commit_test.sh SOURCE_DIR MESSAGES_LINT SCRATCH [EMULATOR WORDS...]
set -eu
source_dir=$1 lint=$2 scratch=$3
shift 3

rm -rf "$scratch"
mkdir -p "$scratch/bin" "$scratch/home" "$scratch/hooks" "$scratch/project/feeds" "$scratch/project/old"
# messages-lint on the PATH, started through the cross emulator when there is one.
printf '#!/bin/sh\nexec %s "%s" "$@"\n' "$*" "$lint" > "$scratch/bin/messages-lint"
chmod +x "$scratch/bin/messages-lint"

export HOME="$scratch/home" XDG_CACHE_HOME="$scratch/home/.cache" PRE_COMMIT_HOME="$scratch/home/pre-commit"
export PATH="$scratch/bin:$PATH" GIT_CONFIG_NOSYSTEM=1
export GIT_AUTHOR_NAME=test GIT_AUTHOR_EMAIL=test@example.invalid
export GIT_COMMITTER_NAME=test GIT_COMMITTER_EMAIL=test@example.invalid

# The hook repository as pre-commit sees one: its hook file, committed.
cp "$source_dir/.pre-commit-hooks.yaml" "$scratch/hooks/"
git -C "$scratch/hooks" init -q
git -C "$scratch/hooks" add .pre-commit-hooks.yaml
git -C "$scratch/hooks" commit -q -m hooks

cd "$scratch/project"
git init -q
good='{"schema": 1, "revision": 1, "messages": []}'
bad='{"schema": 1, "revision": 0, "messages": []}'
echo "$good" > messages.json
echo "$bad" > feeds/messages.json
echo "$bad" > old/messages.json.bak
echo "$bad" > other.json
git add .

try() { pre-commit try-repo "$scratch/hooks" messages-lint --all-files > "$scratch/out" 2>&1; }

fail() {
    echo "pre_commit_test: $1" >&2
    cat "$scratch/out" >&2
    exit 1
}

if try; then fail "the hook passed a bad feeds/messages.json"; fi
grep -q 'feeds/messages.json:1:27: messages: revision' "$scratch/out" || fail "no problem of feeds/messages.json"
grep -v 'feeds/messages.json' "$scratch/out" | grep -q 'messages.json' && fail "names a file other than the bad one"
grep -q 'other.json' "$scratch/out" && fail "checked other.json"

echo "$good" > feeds/messages.json
git add .
try || fail "the hook failed good feeds"
echo "pre_commit_test: a bad feed fails the hook, good feeds pass"
