var L{1..3} >= 0;
maximize obj: 3*L[1] - L[2] + 2*L[3];
s.t. link: L[1] - L[2] <= 4;
s.t. mixr: L[3] - 2*L[1] <= 1;
s.t. base: L[2] >= 1;
end;
