" Reads vim-expect.txt, opens each file with the repository's Vim files first in
" 'runtimepath', and writes one line per expectation to the file named by g:result:
" "ok ..." or "FAIL ... got GROUP".
set nocompatible
let s:top = getcwd()
let &runtimepath = s:top . '/editors/vim,' . &runtimepath
filetype on
syntax on
" The standard group a syntax group is shown as: the first link that is not one of ours.
function! s:Shown(id) abort
  let l:name = synIDattr(a:id, 'name')
  while l:name =~# '^scn'
    let l:link = matchstr(execute('highlight ' . l:name), 'links to \zs\w\+')
    if l:link ==# ''
      break
    endif
    let l:name = l:link
  endwhile
  return l:name
endfunction

let s:out = []
let s:file = ''
for s:line in readfile(s:top . '/tests/editors/vim-expect.txt')
  if s:line =~ '^#' || s:line =~ '^\s*$'
    continue
  endif
  let [s:name, s:token, s:want] = split(s:line)
  if s:name !=# s:file
    execute 'edit! ' . fnameescape(s:top . '/' . s:name)
    let s:file = s:name
    if &filetype !=# 'scn'
      call add(s:out, 'FAIL ' . s:name . ' has file type "' . &filetype . '"')
    endif
    call cursor(1, 1)
    let s:flags = 'cW'
  endif
  let s:at = search('\V\%(\^\|\s\)\zs' . escape(s:token, '\') . '\ze\%(\s\|\$\)', s:flags)
  let s:flags = 'W'
  let s:got = s:at ? s:Shown(synID(line('.'), col('.'), 1)) : 'not found'
  call add(s:out, (s:got ==# s:want ? 'ok   ' : 'FAIL ') . s:name . ' ' . s:token . ' '
        \ . s:want . (s:got ==# s:want ? '' : ' got ' . s:got))
endfor
call writefile(s:out, g:result)
qall!
