set A := 1..6; set J := 1..24;
param C{i in A, j in J} := 10 + (i*17 + j*29) mod 23;
param L{i in A, j in J} := 5 + (i*7 + j*11) mod 13;
param CAP{i in A} := 0.8 * sum{j in J} L[i,j] / card(A) + 6;
var Y{A,J} binary;
minimize o: sum{i in A, j in J} C[i,j]*Y[i,j];
s.t. one{j in J}: sum{i in A} Y[i,j] = 1;
s.t. knap{i in A}: sum{j in J} L[i,j]*Y[i,j] <= CAP[i];
end;
