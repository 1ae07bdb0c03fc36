set ITEMS := {'ANT','BAT','CUP','DOG','EGG','FAN','GUM'};
param W{ITEMS}; param V{ITEMS};
var T{ITEMS} binary;
maximize obj: sum{i in ITEMS} V[i]*T[i];
s.t. ROOM: sum{i in ITEMS} W[i]*T[i] <= 13;
data;
param: W V := ANT 3 7 BAT 4 9 CUP 2 4 DOG 5 11 EGG 1 2 FAN 6 13 GUM 3 5;
end;
