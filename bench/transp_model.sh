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
