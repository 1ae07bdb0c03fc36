# duals are unique
var X; var Y >= -3, <= 4; var Z; var W >= -2, <= 2;
minimize obj: 3*X + 2*Y - Z + W;
s.t. r1: X + Y + Z >= -4;
s.t. r2: X - Y + 2*W >= -10;
s.t. rng: -6 <= X + 2*Y - Z <= 6;
s.t. zc: Z <= 5;
s.t. xl: X >= -8;
end;
