# duals are unique
set C := 1..3;
param av{C}; param pr{C}; param oc{C}; param su{C};
var U{C} >= 0;
maximize obj: sum{c in C} (55 - pr[c])*U[c];
s.t. octn: sum{c in C} oc[c]*U[c] >= 88*sum{c in C} U[c];
s.t. sulf: sum{c in C} su[c]*U[c] <= 1.8*sum{c in C} U[c];
s.t. outp: sum{c in C} U[c] <= 12000;
s.t. sup{c in C}: U[c] <= av[c];
data;
param: av pr oc su := 1 5000 45 95 0.5 2 4000 35 86 1.5 3 6000 30 82 3.0;
end;
