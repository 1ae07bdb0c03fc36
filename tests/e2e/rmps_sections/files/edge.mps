NAME          EDGE; TEST
ROWS
 N  COST
 L  LIM 1
 G  2ND
 E  BAL
 L  lim1
 N  FREEROW
 G  ZERO
COLUMNS
    X         COST               1.0   LIM 1              1.0
    X         2ND                2.0   BAL                1.0
    y.v       COST              -1.0   LIM 1              1.0
    y.v       lim1               1.0   FREEROW            3.0
    MARKER                 'MARKER'                 'INTORG'
    N1        COST               2.5   BAL               -1.0
    N1        ZERO               0.0
    MARKER                 'MARKER'                 'INTEND'
    Z         COST               0.5   2ND                1.0
    W         COST               1.0   BAL                1.0
    B         COST              -3.0   LIM 1              1.0
RHS
    RHS       COST             -10.0   LIM 1             10.0
    RHS       2ND                2.0   BAL                4.0
    RHS       lim1               5.0
RANGES
    RNG       LIM 1              4.0   BAL                2.0
    RNG       2ND                3.0
BOUNDS
 UP BND       X                 20.0
 MI BND       y.v
 UP BND       y.v                8.0
 LI BND       N1                 1.0
 UI BND       N1                 7.0
 FR BND       Z
 FX BND       W                  1.5
 BV BND       B
ENDATA
