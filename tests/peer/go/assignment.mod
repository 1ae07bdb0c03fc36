set W := 1..5; set J := 1..5;
param C{W,J};
var X{W,J} >= 0;
minimize obj: sum{i in W, j in J} C[i,j]*X[i,j];
s.t. A{i in W}: sum{j in J} X[i,j] = 1;
s.t. B{j in J}: sum{i in W} X[i,j] = 1;
data;
param C: 1 2 3 4 5 :=
1 14  5  8  7 11
2  2 12  6  5 10
3  7  8  3  9  4
4  2  4  6 10  7
5  9  3 13  6  8;
end;
