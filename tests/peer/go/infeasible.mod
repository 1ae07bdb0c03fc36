set S := 1..3; param st{S};
var X{S} >= 0;
minimize obj: sum{s in S} X[s];
s.t. have{s in S}: X[s] <= st[s];
s.t. om: sum{s in S} X[s] >= 35;
data; param st := 1 10 2 12 3 8;
end;
