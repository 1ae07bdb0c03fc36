var A binary; var B; var C >= 0; var D >= 0, <= 4;
minimize o: 2.5*A + 3*B + 0.5*C - D;
s.t. r1: A + B + C + D >= 10; s.t. r2: A - B >= -2; s.t. r3: 3*B + 2*C <= 18; s.t. cap: C + D <= 6; s.t. r5: -A + D <= 1;
end;
