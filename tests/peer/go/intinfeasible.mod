set B := 1..3; param S{B};
var N{B} >= 0, integer;
maximize o: sum{b in B} N[b];
s.t. fill: sum{b in B} S[b]*N[b] = 9;
data; param S := 1 2 2 4 3 6;
end;
