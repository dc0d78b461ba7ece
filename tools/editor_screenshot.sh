#!/bin/bash
# Takes docs/editor-vim.png for the README: a document in Vim with the repository's
# syntax file, in an xterm on a virtual display. Run from the repository root.
set -eu
WORK=$(mktemp -d)
. "$(dirname "$0")/xvfb_checks.sh"
document=${1:-docs/examples/first-animation-4.scn}

start_display
# Vim's own colours on a light background, no user settings; a fixed terminal size.
xterm -geometry 122x34+0+0 -tn xterm-256color -fa 'DejaVu Sans Mono' -fs 10 -bg white -fg black \
    -title scn-vim -e vim -N -u NONE -i NONE \
    --cmd "let &runtimepath = '$PWD/editors/vim,' . &runtimepath" \
    --cmd 'filetype on' --cmd 'syntax on' -c 'set background=light nowrap number' \
    -c 'set laststatus=0 noruler noshowcmd' "$document" &
APP_PID=$!
window=$(find_window '^scn-vim$')
sleep 2
import -window "$window" -depth 8 -strip "$WORK/shot.png"
convert "$WORK/shot.png" -trim +repage -bordercolor white -border 8 docs/editor-vim.png
echo "editor_screenshot: wrote docs/editor-vim.png"
