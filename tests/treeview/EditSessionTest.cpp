// The edit session on its own: an ending edit forgets only its own link, and dropping
// an edit closes the editor without anybody being asked.
#include "treeview/LazyTreeEditLink.h"
#include "treeview/LazyTreeEditSession.h"

#include <gtest/gtest.h>

namespace {

class CountingLink : public ILTEditLink {
public:
  bool StartEditing() override { return true; }
  bool AbortEditing() override { return true; }
  bool FinishEditing() override { return true; }
  bool PrepareEditing(TBaseLazyTree*, PLazyNode, int) override { return true; }
  QRect EditorBounds() override { return {}; }
  void ForwardMessage(QEvent*) override {}
  void SetEditorBounds(QRect) override {}
  void ReleaseEditing() override { ++released; }
  int released = 0;
};

TEST(EditSession, AnEndingEditForgetsOnlyItsOwnLink) {
  TLazyTreeEditSession session;
  TLazyNode first{}, second{};
  auto old = std::make_shared<CountingLink>();
  auto current = std::make_shared<CountingLink>();
  session.Open(old, &first);
  // The owner started another edit while the old one was finishing.
  session.Open(current, &second);
  session.CloseIfRunBy(old);
  EXPECT_EQ(session.Link(), current.get());
  EXPECT_EQ(session.Node(), &second);
  session.CloseIfRunBy(current);
  EXPECT_FALSE(session.IsOpen());
  EXPECT_EQ(session.Node(), nullptr);
  EXPECT_EQ(old->released + current->released, 0);  // ending normally releases nothing
}

TEST(EditSession, DroppingReleasesTheEditorOnceAndForgetsTheCell) {
  TLazyTreeEditSession session;
  TLazyNode node{};
  auto link = std::make_shared<CountingLink>();
  session.SetColumn(2);
  session.Open(link, &node);
  session.Drop();
  session.Drop();  // nothing open any more
  EXPECT_EQ(link->released, 1);
  EXPECT_FALSE(session.IsOpen());
  EXPECT_EQ(session.Node(), nullptr);
  EXPECT_EQ(session.Column(), 2);  // the column stays for the events that report it
}

}  // namespace
