# The N x N transportation model of the benchmarks, in the system's language, and a
# configuration with a store large enough for it. Sourced by the benchmark scripts:
#   write_transp_model N    writes model.txt and QUIRN.CNF in the current directory
write_transp_model() {
  local n="$1"
  cat >model.txt <<MOD
MODEL:
SETS:
  PLANTS /1..$n/: CAP;
  CUSTS /1..$n/: DEM;
  ROUTES(PLANTS, CUSTS): COST, FLOW;
ENDSETS
CALC:
  @FOR(PLANTS(P): CAP(P) = 1000 + @MOD(P, 7));
  @FOR(CUSTS(C): DEM(C) = 900 + @MOD(C, 5));
  @FOR(ROUTES(P, C): COST(P, C) = 1 + @MOD(P * 7 + C * 13, 97));
ENDCALC
MIN = @SUM(ROUTES(P, C): COST(P, C) * FLOW(P, C));
@FOR(PLANTS(P): [SUPPLY] @SUM(CUSTS(C): FLOW(P, C)) <= CAP(P));
@FOR(CUSTS(C): [DEMAND] @SUM(PLANTS(P): FLOW(P, C)) >= DEM(C));
END
MOD
  printf '! QUIRN Custom Configuration Data:\nMXMEMB=      512\n' >QUIRN.CNF
}

# Its MathProg twin, written from the same formulas:
#   write_transp_mod FILE N
write_transp_mod() {
  local n="$2"
  cat >"$1" <<MOD
set PLANTS := 1..$n;
set CUSTS := 1..$n;
param CAP{p in PLANTS} := 1000 + p mod 7;
param DEM{c in CUSTS} := 900 + c mod 5;
param COST{p in PLANTS, c in CUSTS} := 1 + (p * 7 + c * 13) mod 97;
var FLOW{PLANTS, CUSTS} >= 0;
minimize TOTAL: sum{p in PLANTS, c in CUSTS} COST[p, c] * FLOW[p, c];
s.t. SUPPLY{p in PLANTS}: sum{c in CUSTS} FLOW[p, c] <= CAP[p];
s.t. DEMAND{c in CUSTS}: sum{p in PLANTS} FLOW[p, c] >= DEM[c];
end;
MOD
}
