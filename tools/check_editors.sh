#!/bin/bash
# Tests the editor files in editors/ with each editor's own machinery.
#   check_editors.sh vim                 Vim's syntax groups under chosen tokens (vim -es)
#   check_editors.sh textmate BUILD_DIR  the TextMate grammar with vscode-tmgrammar-test,
#                                        installed from npm into BUILD_DIR/editors-npm
#   check_editors.sh gtksourceview       the GtkSourceView file against its schema
# Run from the repository root. Exit 77 (skipped) when the tool is not to be had.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/check_lib.sh"

skip() {
    echo "SKIP $1"
    exit 77
}

case ${1:-} in
vim)
    command -v vim >/dev/null || skip "vim is not installed (scripts/deps.sh installs vim-nox)"
    result=$(mktemp)
    trap 'rm -f "$result"' EXIT
    vim -es -N -u NONE -i NONE --cmd "let g:result='$result'" -S tests/editors/vim_syntax.vim
    cat "$result"
    check "vim checked every expectation" test "$(grep -c . "$result")" -ge 30
    check "vim: no token highlighted wrongly" bash -c "! grep -q '^FAIL' '$result'"
    ;;
textmate)
    build=${2:?usage: check_editors.sh textmate BUILD_DIR}
    tool=$build/editors-npm/node_modules/.bin/vscode-tmgrammar-test
    if [ ! -x "$tool" ]; then
        command -v npm >/dev/null || skip "npm is not installed: the TextMate grammar is not tested"
        npm install --silent --no-audit --no-fund --prefix "$build/editors-npm" \
            vscode-tmgrammar-test@0.1.3 >/dev/null 2>&1 ||
            skip "npm could not install vscode-tmgrammar-test: the TextMate grammar is not tested"
    fi
    check "TextMate grammar: annotated documents" \
        "$tool" -g editors/scn.tmLanguage.json "tests/editors/*.tmtest"
    ;;
gtksourceview)
    schema=/usr/share/gtksourceview-4/language-specs/language2.rng
    command -v xmllint >/dev/null || skip "xmllint is not installed"
    [ -f "$schema" ] || skip "no GtkSourceView 4 schema (libgtksourceview-4-dev)"
    check "GtkSourceView language file follows $schema" \
        xmllint --noout --relaxng "$schema" editors/scn.lang
    ;;
*)
    echo "usage: check_editors.sh vim | textmate BUILD_DIR | gtksourceview" >&2
    exit 2
    ;;
esac
exit $((FAILURES > 0))
