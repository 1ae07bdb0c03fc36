set P := 1..60; set Q := 1..60; set R := 1..30;
set L := setof{i in P, j in Q, k in R: (i + j + k) mod 5 = 0} (i,j,k);
param C{(i,j,k) in L} := 1 + (i*3 + j*5 + k*7) mod 17;
var X{L} >= 0;
minimize obj: sum{(i,j,k) in L} C[i,j,k]*X[i,j,k];
s.t. sup{i in P}: sum{(i,j,k) in L} X[i,j,k] <= 500;
s.t. dm{j in Q}: sum{(i,j,k) in L} X[i,j,k] >= 300 + j mod 7;
end;
