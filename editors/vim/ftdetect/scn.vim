" ZEL documents and the geometry files they read with Source{.
autocmd BufRead,BufNewFile *.scn setfiletype scn
autocmd BufRead,BufNewFile *.geo setfiletype scn
