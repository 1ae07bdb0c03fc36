// The row-by-row syntax: the code of rows and declarations, labels, and the errors.
#include "language/lang_test_fixture.h"

namespace {

TEST(RowSyntax, RowsAndDeclarations) {
  const std::pair<const char*, const char*> cases[] = {
      {"MAX 2X + 3Y\nST\nX - Y >= -4\nEND",
       "BEGROW | PUSHN 2 | PUSHV X | MUL | PUSHN 3 | PUSHV Y | MUL | ADD | ENDROW MX | "
       "BEGROW | PUSHV X | PUSHV Y | SUB | PUSHN 4 | NEGATE | SUB | ENDROW GT"},
      {"MAXIMIZE 3X + Y\nSUBJECT TO\n12) X + 0Z <= 4\nEND\nINT 2",  // a 0 term is dropped
       "BEGROW | PUSHN 3 | PUSHV X | MUL | PUSHV Y | ADD | ENDROW MX | BEGROW | PUSHV X | PUSHN 4 | SUB | "
       "ENDROW LT | BEGROW | PUSHV X | BIN | ENDROW VT | BEGROW | PUSHV Y | BIN | ENDROW VT"},
      {"MIN X\nST\nPROFIT) X >= 1\nEND\nFREE X\nSUB X 5\nSLB X -1",
       "BEGROW | PUSHV X | ENDROW MN | BEGROW | ROWNAME PROFIT | PUSHV X | PUSHN 1 | SUB | ENDROW GT | "
       "BEGROW | PUSHV X | FREE | ENDROW VT | BEGROW | PUSHV X | PUSHN 5 | SUBND | ENDROW VT | "
       "BEGROW | PUSHV X | PUSHN -1 | SLBND | ENDROW VT"},
  };
  for (auto& c : cases) {
    FrontFixture f;
    f.text(c.first, 1);
    f.go(0);
    EXPECT_EQ(f.L.LASTERR, 0) << c.first;
    EXPECT_EQ(f.code(), c.second) << c.first;
  }
}

TEST(RowSyntax, Errors) {
  const std::pair<const char*, int> cases[] = {
      {"MAX X\nST\nP) X >= 1\nP) X <= 3\nEND", 37},
      {"MAX X >= 2\nEND", 22},
      {"MAX X\nST\nX <= Y\nEND", 11},
      {"MAX X\nST\nX + Y <= 4 >= 2\nEND", 11},
      {"MAX X\nEND\nINT 0", 11},
      {"MAX X\nEND\nINT 2.5", 11},
      {"MAX X\nEND\nINT 3", 11},
      {"MAX X\nEND\nFREE Z", 11},
      {"MAX X\nEND\nFREE 1", 11},
      {"X + Y <= 3\nEND", 11},
      {"MAX STOCK\nEND", 11},  // read as MAX, ST and a constraint OCK without a relation
      // a row or declaration left unfinished at the end of the text
      {"MAX X\nST\nX <=", 11},
      {"MAX X\nST\n3", 11},
      {"MAX X\nST\nX <= 1\nEND\nSUB X", 11},
      {"MAX X\nST\nX <= 1\nEND\nSLB X -", 11},
      {"MAX X\nST\nX <= 1\nEND\nINT", 11},
  };
  for (auto& c : cases) {
    FrontFixture f;
    f.text(c.first, 1);
    f.go(0);
    EXPECT_EQ(f.L.LASTERR, c.second) << c.first;
  }
}

}  // namespace
