#include <gtest/gtest.h>

#include <cstdlib>

#include "background/TimerCycle.h"
#include "support/TestPrompts.h"

namespace scrivano {
namespace {

TEST(RequestList, AddingPutsTheRequestInFrontOnceAndRemovingReportsAChange) {
  struct Case {
    Text list;
    bool add;
    int n;
    Text after;
    bool changed;
  } cases[] = {
      {u"", true, 2, u"2", true},
      {u"5\t2\t7", true, 2, u"2\t5\t7", true},
      {u"2\t2", true, 2, u"2", true},
      {u"2", false, 2, u"", true},
      {u"12\t2\t21", false, 2, u"12\t21", true},
      {u"2\t2", false, 2, u"", true},
      {u"5", false, 2, u"5", false},
      {u"", false, 2, u"", false},
  };
  for (const Case& c : cases) {
    Text list = c.list;
    bool changed = true;
    if (c.add)
      AddRequest(list, c.n);
    else
      changed = RemoveRequest(list, c.n);
    EXPECT_EQ(list, c.after) << ToUtf8(c.list);
    EXPECT_EQ(changed, c.changed) << ToUtf8(c.list);
  }
}

TEST(LaunchMenu, OwnDocumentsAreKnownByTheirNameWithOrWithoutExtension) {
  struct Case {
    Text path;
    bool own;
  } cases[] = {
      {u"/w/Data/Input", true},       {u"/w/Data/Output.txt", true}, {u"/w/Data/config.ini", true},
      {u"config.ini", true},          {u"/w/Data/input", false},     {u"/w/Data/Inputs", false},
      {u"/w/Input/notes.txt", false}, {u"/w/config", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsOwnDocumentName(c.path), c.own) << ToUtf8(c.path);
}

class RecordingHost : public TimerCycleHost {
 public:
  void HandBackResult() override { ++handBacks; }
  bool TakeRequest(int n) override { return RemoveRequest(requests, n); }
  Text WorkRoot() override { return u"/work/root"; }
  void OpenDocument(TextView path) override { documents.emplace_back(path); }
  void OpenWithDefaultApplication(TextView path) override { launched.emplace_back(path); }

  int handBacks = 0;
  Text requests;
  std::vector<Text> documents;
  std::vector<Text> launched;
};

TEST(LaunchMenu, OffersSortedItemsAndOpensEachPieceOfTheAnswer) {
  test::TestPrompts prompts{u" Data/Input ; ~/notes.txt;; /srv/a b.doc "};
  test::SetParameter(1, u"b.txt\t/srv/a b.doc\tData/Input;~/notes.txt");
  RecordingHost host;
  OfferLaunchMenu(host);
  ASSERT_EQ(prompts.dialogs().size(), 1u);
  EXPECT_EQ(prompts.dialogs()[0].text, u"Please select an option:");
  EXPECT_EQ(prompts.dialogs()[0].options,
            (std::vector<Text>{u"/srv/a b.doc", u"Data/Input;~/notes.txt", u"b.txt"}));
  EXPECT_EQ(host.documents, std::vector<Text>{u"/work/root/Data/Input"});
  const char* home = std::getenv("HOME");
  EXPECT_EQ(host.launched, (std::vector<Text>{FromUtf8(home ? home : "") + u"/notes.txt", u"/srv/a b.doc"}));
}

TEST(TimerCycle, HandsBackEveryTickAndShowsTheLaunchMenuOncePerRequest) {
  test::TestPrompts prompts{u"<cancel>"};
  RecordingHost host;
  AddRequest(host.requests, kLaunchMenuRequest);
  RunTimerCycle(host);
  RunTimerCycle(host);
  EXPECT_EQ(host.handBacks, 2);
  EXPECT_EQ(prompts.dialogs().size(), 1u);
  EXPECT_TRUE(host.requests.empty());
}

}  // namespace
}  // namespace scrivano
