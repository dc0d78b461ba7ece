" Vim syntax file
" Language: ZEL animation document (.scn, and .geo shapes read with Source{)
" Tokens are runs of non-blank characters, so every match is bounded by blanks.

if exists("b:current_syntax")
  finish
endif

let s:cpo_save = &cpo
set cpo&vim

" A block keyword is one token with its brace: Ellipse{ but not Ellipse {.
syn match scnBlock /\%(^\|\s\)\zs\%(Scenimator\|Ellipse\|Rectangle\|Path\|Figure\|Line\|Bezier\|Combined\|Source\|Text\|SolidColorBrush\|LinearGradientBrush\|RadialGradientBrush\|GradientStopCollection\|GradientStop\|BitmapFromFile\|Translation\|PolarTranslation\|Rotation\|Scale\|Procedure\|Fill\|Stroke\|DrawImage\|PushTransform\|PopTransform\|Call\|CaptureHitTestTransform\|RenderZel\|SetZelVar\|Const\|Linear\|Linear2d\|Sinusoidal\|Addition\|Trigger\|Animation\|Color\|Point\|Rect\){\ze\%(\s\|$\)/
syn match scnBrace /\%(^\|\s\)\zs}\ze\%(\s\|$\)/

syn match scnLabel /\%(^\|\s\)\zs\%(noOfGeometries\|noOfBrushes\|noOfImages\|noOfTransforms\|noOfChildZels\|noOfExecutables\|noOfControllers\|noOfAnimations\|center\|radiusX\|radiusY\|x\|y\|w\|h\|noOfFigures\|startPoint\|closed\|noOfSegments\|to\|p1\|p2\|p3\|mode\|size\|hitTest\|opacity\|start\|end\|originOffset\|noOfGradientStops\|extendMode\|r\|t\|noOfArgs\|noOfCommands\|destRect\|srcRect\|target\|begin\|loops\|value\|beginValue\|endValue\|targetY\|dc\|amplitude\|frequency\|phase\|noOfChildren\)\ze\%(\s\|$\)/

syn match scnNumber /\%(^\|\s\)\zs[-+]\=\%(\d\+\.\=\d*\|\.\d\+\)\%([eE][-+]\=\d\+\)\=\ze\%(\s\|$\)/
syn match scnVariable /\%(^\|\s\)\zs\$\S*/
syn match scnConstant /\%(^\|\s\)\zs\%(null\|Union\|Intersect\|Xor\|Exclude\)\ze\%(\s\|$\)/

" The name in front of a named block (a value block such as Point{ follows a label instead).
syn match scnDefinition /^\s*\zs[^ \t{}$]\+\ze\s\+\%(\%(Color\|Point\|Rect\|GradientStopCollection\|GradientStop\|Figure\|Line\|Bezier\){\)\@!\u\w*{\%(\s\|$\)/

" Names of other objects: after the commands that take them, and after the labels that
" name them; the chain follows the tokens over line breaks.
syn match scnRefCommand /\%(^\|\s\)\zs\%(Fill\|Stroke\){\ze\%(\s\|$\)/ nextgroup=scnRefThenRef skipwhite skipnl
syn match scnRefThenRef /[^ \t}]\+/ contained nextgroup=scnReference skipwhite skipnl
syn match scnRefCommand /\%(^\|\s\)\zs\%(PushTransform\|Call\|RenderZel\|SetZelVar\){\ze\%(\s\|$\)/ nextgroup=scnReference skipwhite skipnl
syn match scnRefLabel /\%(^\|\s\)\zs\%(geometry1\|geometry2\|source\|renderFunction\|controller\|transitionTarget\|targetZel\|targetAnimation\)\ze\%(\s\|$\)/ nextgroup=scnRefNull,scnReference skipwhite skipnl
syn match scnReference /[^ \t}$]\+/ contained
" Defined after scnReference: of two matches at one place Vim takes the later.
syn match scnRefNull /null\ze\%(\s\|$\)/ contained

" File names and texts.
syn match scnPathBlock /\%(^\|\s\)\zs\%(Source\|BitmapFromFile\|Scenimator\){\ze\%(\s\|$\)/ nextgroup=scnPath skipwhite
syn match scnTextLabel /\%(^\|\s\)\zs\%(text\|font\)\ze\%(\s\|$\)/ nextgroup=scnPath skipwhite skipnl
syn match scnPath /[^ \t}]\S*/ contained

hi def link scnBlock Statement
hi def link scnRefCommand scnBlock
hi def link scnPathBlock scnBlock
hi def link scnBrace Delimiter
hi def link scnLabel Type
hi def link scnRefLabel scnLabel
hi def link scnTextLabel scnLabel
hi def link scnNumber Number
hi def link scnVariable Identifier
hi def link scnConstant Constant
hi def link scnRefNull scnConstant
hi def link scnDefinition Function
hi def link scnReference Special
hi def link scnRefThenRef scnReference
hi def link scnPath String

let b:current_syntax = "scn"

let &cpo = s:cpo_save
unlet s:cpo_save
