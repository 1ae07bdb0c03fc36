NAME free model (test)
OBJSENSE
    MAX
ROWS
 N obj
 L a.b
 L a-b
 G 1st
COLUMNS
 x.1 obj 3 a.b 1
 x.1 1st 1
 x-1 obj 2 a-b 1
 averyveryverylongvariablenamethatgoesonandon obj 1 1st 1
RHS
 rhs a.b 4 a-b 5
 rhs 1st 0.00001
QUADOBJ
 x.1 x.1 -2
 x.1 x-1 1
BOUNDS
 UP bnd averyveryverylongvariablenamethatgoesonandon 1e30
 LO bnd x-1 -5
 UP bnd x-1 -1
ENDATA
