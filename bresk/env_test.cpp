// Tests of the environment calls: lifecycle, version, error texts, parameters.
#include "bresk/bresk.h"

#include <gtest/gtest.h>
#include <cstring>
#include <string>

namespace {

TEST(BreskEnv, LifecycleClearsHandles) {
  int err = -1;
  BRenv* env = BRcreateEnvProdCode(0, &err);
  ASSERT_NE(env, nullptr);
  EXPECT_EQ(err, 0);
  BRmodel* m = BRcreateModel(env, &err);
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(err, 0);
  int d[8];
  for (int& v : d) v = -1;
  EXPECT_EQ(BRgetDimensions(m, &d[0], &d[1], &d[2], &d[3], &d[4], &d[5], &d[6], &d[7]), 0);
  for (int v : d) EXPECT_EQ(v, 0);
  EXPECT_EQ(BRdeleteModel(&m), 0);
  EXPECT_EQ(m, nullptr);
  EXPECT_EQ(BRdeleteModel(&m), 2005);
  BRmodel* m2 = BRcreateModel(env, &err);
  ASSERT_NE(m2, nullptr);
  EXPECT_EQ(BRdeleteEnv(&env), 0);  // deletes the remaining model too
  EXPECT_EQ(env, nullptr);
  EXPECT_EQ(BRcreateModel(nullptr, &err), nullptr);
  EXPECT_EQ(err, 2005);
}

TEST(BreskEnv, VersionAndErrorTexts) {
  char ver[200], build[200];
  ASSERT_EQ(BRgetVersionInfo(ver, build), 0);
  EXPECT_STREQ(ver, "3.0.0");
  // The banner line built from both fits a 76-column terminal.
  EXPECT_LE(std::string("  BRESK API ").size() + std::strlen(ver) + 2 + std::strlen(build) + 1, 76u);
  char parts[256];
  ASSERT_EQ(BRgetComponentVersions(parts), 0);
  for (const char* name : {"Clp 1.", "Cbc 2.", "Ipopt 3.", "Bonmin 1.", "CoinUtils 2."})
    EXPECT_NE(std::string(parts).find(name), std::string::npos) << name;
  char text[256];
  struct { int code; const char* text; } cases[] = {
      {2007, "Unknown parameter id."},
      {2018, "Quadratic model is not convex."},
      {2016, "Solver interrupted by the caller."},
      {12345, "Unknown error code."},
  };
  for (auto& c : cases) {
    ASSERT_EQ(BRgetErrorMessage(nullptr, c.code, text), 0);
    EXPECT_STREQ(text, c.text) << c.code;
  }
}

TEST(BreskEnv, ParametersKnownUnknownAndRange) {
  int err;
  BRenv* env = BRcreateEnvProdCode(0, &err);
  BRmodel* m = BRcreateModel(env, &err);
  // Every id the program passes, in both setters where it passes both.
  const int ints[] = {212, 201, 51, 220, 205, 30, 342, 213, 300, 52, 317, 318, 319, 323, 301,
                      304, 209, 208, 210, 211, 303, 28, 29, 31, 326, 335, 324, 328, 327, 309,
                      314, 315, 221, 219, 214, 310, 334, 417, 408, 412, 414, 223, 552, 553,
                      224, 56, 39};
  const int dous[] = {54, 206, 306, 207, 305, 322, 307, 308, 311, 338, 339, 400, 404, 405};
  for (int id : ints) {
    EXPECT_EQ(BRsetEnvIntParameter(env, id, 1), 0) << id;
    EXPECT_EQ(BRsetModelIntParameter(m, id, 1), 0) << id;
  }
  for (int id : dous) {
    EXPECT_EQ(BRsetEnvDouParameter(env, id, 1e-6), 0) << id;
    EXPECT_EQ(BRsetModelDouParameter(m, id, 1e-6), 0) << id;
    EXPECT_EQ(BRsetModelIntParameter(m, id, 0), 0) << id;  // ints accepted on double ids
  }
  // Values the program sends at the edges of its conversions.
  EXPECT_EQ(BRsetModelIntParameter(m, 30, 2147483640), 0);
  EXPECT_EQ(BRsetModelIntParameter(m, 300, -1), 0);
  EXPECT_EQ(BRsetModelIntParameter(m, 303, 510), 0);
  EXPECT_EQ(BRsetModelIntParameter(m, 314, 8190), 0);
  EXPECT_EQ(BRsetModelDouParameter(m, 54, 1e3), 0);   // tolerances without an upper limit
  EXPECT_EQ(BRsetModelDouParameter(m, 206, 50.0), 0);
  EXPECT_EQ(BRsetModelDouParameter(m, 305, 1.0), 0);  // integrality tolerances up to 1
  EXPECT_EQ(BRsetModelDouParameter(m, 306, 1.0), 0);
  // Unknown ids and bad values.
  EXPECT_EQ(BRsetEnvIntParameter(env, 9999, 1), 2007);
  EXPECT_EQ(BRsetModelIntParameter(m, 1, 1), 2007);
  EXPECT_EQ(BRsetModelDouParameter(m, -5, 1.0), 2007);
  EXPECT_EQ(BRsetModelDouParameter(m, 30, 2.5), 2008);  // not whole on an integer id
  EXPECT_EQ(BRsetModelDouParameter(m, 30, 25.0), 0);
  EXPECT_EQ(BRsetModelDouParameter(m, 54, -1.0), 2008);
  int v = 0;
  EXPECT_EQ(BRgetModelIntParameter(m, 30, &v), 0);
  EXPECT_EQ(v, 25);
  // A model copies the environment's values at creation.
  EXPECT_EQ(BRsetEnvIntParameter(env, 219, 1), 0);
  BRmodel* m2 = BRcreateModel(env, &err);
  EXPECT_EQ(BRgetModelIntParameter(m2, 219, &v), 0);
  EXPECT_EQ(v, 1);
  EXPECT_EQ(BRsetModelIntParameter(nullptr, 30, 1), 2005);
  BRdeleteEnv(&env);
}

} // namespace
