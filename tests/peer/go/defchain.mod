param A := 4; param B := 2*A + 1; param C := B - A/2; param D := 20 - C;
var X >= 0; var Y >= 0;
maximize obj: D*X + C*Y - B;
s.t. c1: X + Y <= A + C;
s.t. c2: 2*X + Y <= 3*A;
end;
