#!/bin/sh
# Runs neovim_client.lua in headless Neovim (Debian's neovim; scripts/bootstrap --lsp) on a copy
# of the typographic draft. With --fix-all, the fix-all action is applied and written, and the
# written file must be accepted by messages-lint.
#   neovim_test.sh [--fix-all] [--server=WORDS] LINT SCRATCH [EMULATOR...]
# EMULATOR is a cross build's emulator with its arguments (qemu-aarch64 -L …), put before LINT.
# WORDS, separated by "|", start the server instead of `LINT --lsp` (node|messages-lint-lsp.mjs);
# LINT still gives the report and judges the written file.
set -eu
fix_all=0
server=""
while :; do
    case "$1" in
        --fix-all) fix_all=1 ;;
        --server=*) server=${1#--server=} ;;
        *) break ;;
    esac
    shift
done
lint=$1 scratch=$2
shift 2
emulator=$(printf '%s|' "$@")
here=$(dirname "$0")
command -v nvim >/dev/null || { echo "neovim_test: no nvim (scripts/bootstrap --lsp installs it)" >&2; exit 1; }
rm -rf "$scratch"
mkdir -p "$scratch"
cp "$here/typographic_draft.json" "$scratch/messages.json"
# No user configuration, no shada, no swap file; $HOME and the XDG folders inside the scratch;
# the hints' dates in UTC.
TZ=UTC HOME="$scratch" XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/data" XDG_STATE_HOME="$scratch/state" \
    XDG_CACHE_HOME="$scratch/cache" MT_LINT="$lint" MT_EMULATOR="$emulator" MT_SERVER="$server" MT_DRAFT="$scratch/messages.json" MT_NOW=0 MT_FIX_ALL=$fix_all \
    timeout 60 nvim --headless -u NONE -i NONE -n -c "luafile $here/neovim_client.lua" </dev/null
if [ "$fix_all" = 1 ]; then
    cmp -s "$here/typographic_draft.json" "$scratch/messages.json" && { echo "neovim_test: the file was not changed" >&2; exit 1; }
    "$@" "$lint" --now=0 "$scratch/messages.json" || { echo "neovim_test: the written file is refused" >&2; exit 1; }
fi
echo "neovim_test: passed"
