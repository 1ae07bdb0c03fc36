NAME empty rows
ROWS
 N obj
 G holds
 G fails
 L c
COLUMNS
 x obj 1 c 1
RHS
 rhs holds -1 fails 2
 rhs c 3
ENDATA
