NAME          C
ROWS
 N  COST
 L  LIM1
COLUMNS
    X         COST               1.0   LIM1               1.0
RHS
    RHS       LIM1             1e400
ENDATA
