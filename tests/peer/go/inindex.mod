# duals are unique
set CITY := 1..6;
set HUB := {2, 6, 3};
param dem{CITY};
var S{CITY} >= 0;
maximize obj: sum{h in HUB, c in CITY} (10 - abs(6 - c))*S[c] - (5 + 7 + 4);
s.t. loc{c in CITY: c not in HUB}: S[c] <= dem[c];
s.t. hub{c in CITY: c in HUB}: S[c] <= dem[c]/2;
s.t. fh: sum{c in CITY: c <= 3} S[c] <= 20;
data;
param dem := 1 10 2 20 3 15 4 8 5 6 6 12;
end;
