* maximise 3 x1 + 2 x2 by minimising -3 x1 - 2 x2
NAME          EXAMPLE
ROWS
 N  OBJ
 L  C1
 L  C2
COLUMNS
    X1        OBJ       -3             C1        1
    X1        C2        1
    X2        OBJ       -2             C1        1
    X2        C2        3
RHS
    RHS       C1        4              C2        6
ENDATA
