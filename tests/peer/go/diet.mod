# duals are unique
set F; set N;
param C{F}; param MX{F}; param LO{N}; param HI{N}; param A{F,N};
var B{f in F} >= 0, <= MX[f];
minimize obj: sum{f in F} C[f]*B[f];
s.t. en{n in N}: sum{f in F} A[f,n]*B[f] >= LO[n];
s.t. nm{n in N}: sum{f in F} A[f,n]*B[f] <= HI[n];
data;
set F := BREAD MILK CHEESE POTATO FISH YOGURT;
set N := CAL PROT CALC VITA;
param: C MX := BREAD 2.0 6 MILK 3.5 4 CHEESE 8.0 3 POTATO 1.5 8 FISH 11.0 2 YOGURT 1.0 5;
param: LO HI := CAL 2000 3500 PROT 55 150 CALC 800 2000 VITA 900 5000;
param A: CAL PROT CALC VITA :=
BREAD 65 2.1 20 0
MILK 140 8 285 500
CHEESE 110 7 200 300
POTATO 160 4.3 14 0
FISH 205 32 20 50
YOGURT 150 8 300 100;
end;
