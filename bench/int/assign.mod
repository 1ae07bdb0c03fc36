set W := 1..40;
set J := 1..40;
param c{i in W, j in J} := 5 + (i * 31 + j * 17 + i * j) mod 47;
var x{W, J} binary;
minimize obj: sum{i in W, j in J} c[i,j] * x[i,j];
s.t. onejob{i in W}: sum{j in J} x[i,j] = 1;
s.t. oneman{j in J}: sum{i in W} x[i,j] = 1;
end;
