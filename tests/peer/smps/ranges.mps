* Ranged rows of every kind, an objective right-hand side, fixed and bounded integer columns.
NAME          RANGES
ROWS
 N  COST
 L  CAP
 G  NEED
 E  BAL
 E  BAL2
COLUMNS
    MARKER                 'MARKER'                 'INTORG'
    K         COST                 2   CAP                  1
    K         NEED                 1
    MARKER                 'MARKER'                 'INTEND'
    X         COST                 1   CAP                  1
    X         BAL                  1   BAL2                 1
    Y         COST                -1   NEED                 1
    Y         BAL                 -1
    F         COST                 3   BAL2                -1
RHS
    RHS       COST                 4   CAP                 10
    RHS       NEED                 3   BAL                  1
    RHS       BAL2                 0
RANGES
    RNG       CAP                  4   NEED                 5
    RNG       BAL                  2   BAL2                -1.5
BOUNDS
 UP BND       K                    7
 LO BND       K                   -2
 FX BND       F                  1.5
 UP BND       Y                    6
ENDATA
