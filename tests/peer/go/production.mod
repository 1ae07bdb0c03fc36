# duals are unique
set T := 1..6;
param D{T}; 
var M{T} >= 0, <= 50; var O{T} >= 0, <= 20; var S{T} >= 0;
minimize obj: sum{t in T} (10*M[t] + 15*O[t] + 2*S[t]);
s.t. bal{t in T}: (if t = 1 then 10 else 0) + (if t > 1 then S[t-1] else 0) + M[t] + O[t] - D[t] = S[t];
s.t. ends: S[6] >= 5;
data;
param D := 1 40 2 60 3 75 4 25 5 80 6 50;
end;
