// The order and the stopping rules of a drop, over a scripted site.
#include <gtest/gtest.h>

#include <set>

#include "exchange/drop.h"

namespace quill::exchange {
namespace {

class ScriptedSite final : public DropSite {
 public:
  int Choose() override { return choice; }
  bool PutText(const std::u16string& text) override {
    log.push_back(u"text " + text);
    return true;
  }
  bool ImportFile(const std::u16string& path) override {
    log.push_back(u"import " + path);
    return !failing.count(path);
  }
  void AwaitCapture() override { log.push_back(u"await"); }
  bool Stopped() override { return log.size() >= stop_after; }
  int IconCount(const std::u16string& path) override { return path == u"b" ? 2 : 1; }
  bool RecordIcon(const std::u16string& path, int index) override {
    log.push_back(u"icon " + path + static_cast<char16_t>(u'0' + index));
    return !failing.count(path);
  }

  int choice = 0;
  std::set<std::u16string> failing;
  std::size_t stop_after = 100;
  std::vector<std::u16string> log;
};

struct DropCase {
  const char* name;
  int choice;
  std::set<std::u16string> failing;
  std::size_t stop_after;
  std::vector<std::u16string> log;
};

TEST(DropTest, FollowsTheChoiceInListOrderAndStopsAtTheFirstFailure) {
  const DropCase cases[] = {
      {"dismissed", drop::kNone, {}, 100, {}},
      {"paths", drop::kPaths, {}, 100, {u"text a\r\nb\r\nc\r\n", u"await"}},
      {"content",
       drop::kContent,
       {},
       100,
       {u"import a", u"await", u"import b", u"await", u"import c", u"await"}},
      {"content fails", drop::kContent, {u"b"}, 100, {u"import a", u"await", u"import b"}},
      {"content stopped", drop::kContent, {}, 2, {u"import a", u"await"}},
      {"icons", drop::kIcons, {}, 100, {u"icon a0", u"icon b0", u"icon b1", u"icon c0"}},
      {"icon fails", drop::kIcons, {u"b"}, 100, {u"icon a0", u"icon b0"}},
      {"icons stopped", drop::kIcons, {}, 3, {u"icon a0", u"icon b0", u"icon b1"}},
  };
  for (const auto& c : cases) {
    ScriptedSite site;
    site.choice = c.choice;
    site.failing = c.failing;
    site.stop_after = c.stop_after;
    HandleDrop({u"a", u"b", u"c"}, site);
    EXPECT_EQ(site.log, c.log) << c.name;
  }
}

}  // namespace
}  // namespace quill::exchange
