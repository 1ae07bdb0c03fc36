set J := 1..50;
set R := 1..5;
param v{j in J} := 10 + (j * 41 + 7) mod 90;
param a{i in R, j in J} := 5 + (i * 19 + j * 23 + i * j * 7) mod 56;
param cap{i in R} := floor(sum{j in J} a[i,j] / 2);
var x{J} binary;
maximize obj: sum{j in J} v[j] * x[j];
s.t. lim{i in R}: sum{j in J} a[i,j] * x[j] <= cap[i];
end;
