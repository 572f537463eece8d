// The association icon cache: one task-tree image per file extension.
#include "TdAppTestSupport.h"

#include "core/BTodo.h"
#include "core/TdApp.h"
#include "support/FakeDesktop.h"

namespace {

class IconCacheTest : public ::testing::Test {
protected:
  TTdTodo Task(const char* association) {
    TTdTodo t;
    t.Association = QString::fromUtf8(association);
    return t;
  }

  FakeDesktop desktop;
  DataFolderPin data;
  FakeMainLink link;
  TTodoAppHandler app{&link};
};

struct IconCase {
  const char* association;
  int index;  // after the four tasks below were added in order
};

}  // namespace

TEST_F(IconCacheTest, OneImagePerExtensionWhateverItsCase) {
  for (const char* association : {"/home/a/Letter.doc", "/home/a/OLD.DOC", "/home/a/list.tar.gz", "/home/a/x.Doc"})
    app.AddAssociationIcon(Task(association));
  EXPECT_EQ(link.log, QStringList({"image", "image"}));

  const IconCase cases[] = {
      {"/other/place/memo.doc", 60},  // cached by another file of the same type
      {"/home/a/Letter.DoC", 60},
      {"/home/a/list.tar.gz", 61},    // the last dot counts
      {"/home/a/README", -1},         // no extension
      {"/home/a.b/README", -1},       // a dot in a folder name is no extension
      {"", -1},                       // no association
      {"/home/a/photo.jpg", -1},      // not cached yet
  };
  for (const IconCase& c : cases) EXPECT_EQ(app.AssociationIconIndex(Task(c.association)), c.index) << c.association;

  app.AddAssociationIcon(Task("/home/a/README"));
  app.AddAssociationIcon(Task(""));
  EXPECT_EQ(link.log.size(), 2) << "no extension, no image";
}

TEST_F(IconCacheTest, BuildAddsTheStoresExtensionsInListOrder) {
  for (const char* association : {"/a/one.pdf", "/a/two.txt", "/a/three.PDF", "/a/four"})
    app.TodoHandler().AddTodo()->Association = QString::fromLatin1(association);
  app.BuildAssociationIcons();
  EXPECT_EQ(app.AssociationIconIndex(*app.TodoHandler().GetTodo(0)), 60);
  EXPECT_EQ(app.AssociationIconIndex(*app.TodoHandler().GetTodo(1)), 61);
  EXPECT_EQ(app.AssociationIconIndex(*app.TodoHandler().GetTodo(2)), 60);
  EXPECT_EQ(app.AssociationIconIndex(*app.TodoHandler().GetTodo(3)), -1);
  app.BuildAssociationIcons();
  EXPECT_EQ(link.log.size(), 2) << "each extension once";
}

// The window may refuse the image; without a window there is no image list at all.
TEST_F(IconCacheTest, AnExtensionWithoutImageIsCachedAsMinusOne) {
  link.nextImage = -1;
  app.AddAssociationIcon(Task("/a/b.odt"));
  app.AddAssociationIcon(Task("/a/c.odt"));
  EXPECT_EQ(app.AssociationIconIndex(Task("/a/d.odt")), -1);
  EXPECT_EQ(link.log, QStringList({"image"})) << "cached although it has no image";

  TTodoAppHandler windowless(nullptr);
  EXPECT_EQ(windowless.AddIconForFile(QStringLiteral("/a/b.odt")), -1);
}
