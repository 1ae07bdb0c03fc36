# duals are unique
var A >= 0; var B >= 0; var C >= 0; var X >= 0; var Y >= 0; var Z >= 0;
maximize o: 3*X + 2*Y + Z + 0.5*A - 0.25*C;
s.t. d1: A = 4;
s.t. d2: B = 2*A + 1;
s.t. d3: C + B = 20;
s.t. r1: X + Y + Z <= B;
s.t. r2: X <= A;
s.t. r3: Z + 0.1*C <= 3;
s.t. r4: Y - Z >= 1;
end;
