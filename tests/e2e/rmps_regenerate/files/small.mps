NAME          SMALL
ROWS
 N  PROFIT
 L  LIM
 L  CAP
COLUMNS
    X         PROFIT            -2.0   LIM                1.0
    X         CAP                1.0
    Y         PROFIT            -1.0   LIM                1.0
RHS
    RHS       LIM                4.0   CAP                3.0
ENDATA
