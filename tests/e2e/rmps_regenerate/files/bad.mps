NAME bad
ROWS
 N obj
 L c1
COLUMNS
 x obj 1 c1 zzz
ENDATA
