NAME t
ROWS
 N obj
 L c1
 G c2
 E c3
COLUMNS
 x1 obj 1 c1 1
 x2 c2 1 c3 1
 x3 c1 1 obj 2
RHS
 RHS c1 4.5 obj 10
 RHS c2 1 c3 2
RANGES
 RNG c1 2 c3 -1
BOUNDS
 FR BND x1
 MI BND x2
 UP BND x2 5
 LO BND x3 -2
ENDATA
