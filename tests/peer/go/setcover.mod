set E := 1..80;
set S := 1..160;
set EC := setof{e in E, s in S: (e * 7 + s * 13 + e * s) mod 11 < 2 or s mod 80 + 1 = e} (e, s);
param cost{s in S} := 3 + (s * 37 + 5) mod 17;
var x{S} binary;
minimize obj: sum{s in S} cost[s] * x[s];
s.t. cover{e in E}: sum{(e, s) in EC} x[s] >= 1;
end;
