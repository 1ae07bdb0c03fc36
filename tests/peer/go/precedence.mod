# duals are unique
var X1>=0; var X2>=0; var X3>=0; var X4>=0; var X5>=0; var X6>=0; var X7>=0; var X8>=0; var X9>=0; var X10>=0; var X11>=0; var X12>=0;
minimize obj: X1 + 2*X2 + 3*X3 + 5*X4 + 7*X5 + 11*X6 + 13*X7 + 17*X8 + 19*X9 + 23*X10 + 29*X11 + 31*X12;
s.t. r1: X1 >= 64;
s.t. r2: -X2 <= -(4) - 10;
s.t. r3: 3 + X3 >= 3 + 2*X3 - X3 + X3/2 - 7;
s.t. r4: 2 <= X4;
s.t. r5: X5 >= 8;
s.t. r6: X6 >= -5 + 10;
s.t. r7: X7 >= 5;
s.t. r8: X8 >= 2;
s.t. r9: X9 >= 1.5;
s.t. r10: X10 >= 1;
s.t. r11: X11 >= 2;
s.t. r12: X12 >= 1;
end;
