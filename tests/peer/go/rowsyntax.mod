var X1 >= 0, integer; var X2 >= 0, <= 12; var X3 >= 0; var X4 >= 1;
maximize obj: 3*X1 + 5*X2 + 4*X3 - 2*X4;
s.t. lab: 2*X1 + 3*X2 + X3 + 4*X4 <= 60;
s.t. stl: 3*X1 + X2 + 4*X3 + X4 <= 45;
s.t. mix: X1 - X2 >= -10;
s.t. r4: X2 + X3 + X4 >= 5;
s.t. same: X3 - X4 = 2;
end;
