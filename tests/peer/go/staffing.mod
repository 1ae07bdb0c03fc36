set D := 1..7;
param need{D};
var S{D} >= 0, integer;
minimize obj: sum{d in D} S[d];
s.t. cov{d in D}: sum{k in 1..5} S[((d - k + 7) mod 7) + 1] >= need[d];
data;
param need := 1 18 2 15 3 12 4 16 5 19 6 14 7 12;
end;
