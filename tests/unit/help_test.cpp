#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "session/session.h"
#include "tests/unit/modeltext_fixture.h"

TEST(Help, EveryTopicHasItsTextInTheHouseStyle) {
  TextSession t;
  std::set<int32_t> none;
  for (int32_t k = 1; k <= NCMDS; ++k) {
    std::string out = onterminal("", [&] { help_(t.W, t.L, k, t.L.TRMOUT); });
    if (out == " \n No help available on this command\n \n") {
      none.insert(k);
      continue;
    }
    std::istringstream in(out);
    std::string line;
    int n = 0;
    while (std::getline(in, line)) {
      ++n;
      EXPECT_EQ(line[0], ' ') << cmddef(k).key;
      if (k != CMD_SET) {
        EXPECT_LE(line.size(), 62u) << cmddef(k).key << ": " << line;
      }
    }
    EXPECT_GE(n, 2) << cmddef(k).key;
  }
  EXPECT_EQ(none, (std::set<int32_t>{CMD_TRACE, CMD_CLRMEM, CMD_HMODEL, CMD_INT, CMD_GIN, CMD_FREE, CMD_SLB,
                                     CMD_SUB}));
  // REV shows the RVRT text, MIN and MAX share one
  auto text = [&](int32_t k) { return onterminal("", [&] { help_(t.W, t.L, k, t.L.TRMOUT); }); };
  EXPECT_EQ(text(CMD_REV), text(CMD_RVRT));
  EXPECT_EQ(text(CMD_MIN), text(CMD_MAX));
  EXPECT_NE(text(CMD_MODEL).find("\n    @WRAP( INDEX, SET SIZE)\n"), std::string::npos);
  EXPECT_NE(text(CMD_SET).find("\n 22 LINLEN           76  terminal line width\n"), std::string::npos);
  EXPECT_EQ(text(0).substr(0, 64), " \n QUIRN solves  mathematical  models entered in  natural form.\n");
}

TEST(Help, KeywordLinesWrapToTheWidth) {
  struct Case {
    int32_t width;
    std::string want;
  } cases[] = {
      {64, "      PAGE    TERS    VERB    WIDTH   SET     FREEZE  DBUID\n      DBPWD   APISET\n"},
      {76, "      PAGE    TERS    VERB    WIDTH   SET     FREEZE  DBUID   DBPWD\n      APISET\n"},
      {100, "      PAGE    TERS    VERB    WIDTH   SET     FREEZE  DBUID   DBPWD   APISET\n"},
  };
  for (auto& c : cases) {
    TextSession t;
    t.L.LINLEN = c.width;
    EXPECT_EQ(onterminal("", [&] { lstcmd_(t.L, t.L.TRMOUT, 8); }), c.want) << c.width;
  }
  // the unlisted commands make a longer list: 11 slots fit at 100
  TextSession t;
  t.L.LINLEN = 100;
  EXPECT_EQ(onterminal("", [&] { lstcmd_(t.L, t.L.TRMOUT, 0); }),
            "      REV     TRACE   EDIT    GENL    IPTOL   BAT     CLRMEM  MIN     MAX     BIP     HMODEL\n"
            "      INT     GIN     FREE    SLB     SUB\n");
  EXPECT_EQ(onterminal("", [&] { lstcmd_(t.L, t.L.TRMOUT, 10); }), "");
}
