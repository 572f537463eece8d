// The in-place editor driven like a user does: started by F2, by a second click and by
// EditNode; ended by Enter, Escape and the focus moving away.
#include "StringTreeFixture.h"

#include <QLineEdit>
#include <QVBoxLayout>

namespace {

class Editor : public ::testing::Test {
protected:
  void SetUp() override {
    auto* layout = new QVBoxLayout(&window);
    tree = new TextTree;
    other = new QLineEdit;
    layout->addWidget(tree);
    layout->addWidget(other);
    tree->TreeOptions().SetMiscOptions(tree->TreeOptions().MiscOptions() + TLTMiscOptions{toEditable});
    tree->SetTexts({"alpha", "beta", "gamma"});
    window.resize(300, 250);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    tree->setFocus();
    tree->SetFocusedNode(tree->At("1"));
    tree->log.clear();
  }
  TLTEdit* Edit() const {
    auto* link = dynamic_cast<TStringEditLink*>(tree->EditLink());
    return link ? link->Edit() : nullptr;
  }
  void Type(const QString& text) {
    for (QChar c : text) QTest::keyClick(Edit(), c.toLatin1() ? c.toLatin1() : 'x');
  }
  QWidget window;
  TextTree* tree = nullptr;
  QLineEdit* other = nullptr;
};

TEST_F(Editor, F2StartsAndEnterAccepts) {
  QTest::keyClick(tree, Qt::Key_F2);
  ASSERT_TRUE(tree->TreeStates().Contains(tsEditing));
  ASSERT_NE(Edit(), nullptr);
  EXPECT_TRUE(Edit()->isVisible());
  EXPECT_EQ(Edit()->toPlainText(), "beta");
  EXPECT_TRUE(Edit()->textCursor().hasSelection());  // the whole text, ready to be replaced
  QTest::keyClicks(Edit(), "delta");
  QTest::keyClick(Edit(), Qt::Key_Return);
  EXPECT_FALSE(tree->TreeStates().Contains(tsEditing));
  EXPECT_EQ(tree->log, (QStringList{"new 1 delta", "edited 1"}));
  EXPECT_EQ(tree->GetCellText(tree->At("1"), -1), "delta");
  EXPECT_TRUE(tree->hasFocus());
}

TEST_F(Editor, EscapeCancelsAndUnchangedTextIsNotHandedBack) {
  ASSERT_TRUE(tree->EditNode(tree->At("2"), -1));
  QTest::keyClicks(Edit(), "zzz");
  QTest::keyClick(Edit(), Qt::Key_Escape);
  EXPECT_EQ(tree->log, (QStringList{"focus 2", "cancelled"}));
  EXPECT_EQ(tree->texts["2"], "gamma");
  tree->log.clear();
  ASSERT_TRUE(tree->EditNode(tree->At("2"), -1));
  QTest::keyClick(Edit(), Qt::Key_Enter);
  EXPECT_EQ(tree->log, QStringList{"edited 2"});  // no new text for an untouched edit
}

TEST_F(Editor, SecondClickOnTheFocusedNodeStartsAfterTheDelay) {
  const QPoint label = tree->RowPoint(tree->At("1"), tree->LabelX(tree->At("1")));
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, label);
  EXPECT_TRUE(tree->TreeStates().Contains(tsEditPending));
  EXPECT_TRUE(tree->fakeTimers->IsRunning(EditTimer));
  EXPECT_EQ(tree->fakeTimers->Interval(EditTimer), tree->EditDelay());
  tree->HandleTimer(EditTimer);
  EXPECT_TRUE(tree->TreeStates().Contains(tsEditing));
  QTest::keyClick(Edit(), Qt::Key_Escape);

  // A click on another node drops a pending edit.
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, label);
  ASSERT_TRUE(tree->TreeStates().Contains(tsEditPending));
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->RowPoint(tree->At("0"), 30));
  EXPECT_FALSE(tree->TreeStates().Contains(tsEditPending));
  EXPECT_FALSE(tree->fakeTimers->IsRunning(EditTimer));

  // So does typing into the incremental search.
  tree->SetIncrementalSearch(isAll);
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->RowPoint(tree->At("0"), tree->LabelX(tree->At("0"))));
  ASSERT_TRUE(tree->fakeTimers->IsRunning(EditTimer));
  QTest::keyClick(tree, 'g');
  EXPECT_FALSE(tree->TreeStates().Contains(tsEditPending));
  EXPECT_FALSE(tree->fakeTimers->IsRunning(EditTimer));
  EXPECT_EQ(tree->FocusedNode(), tree->At("2"));
}

TEST_F(Editor, FocusLossAcceptsOrDiscardsByOption) {
  ASSERT_TRUE(tree->EditNode(tree->At("0"), -1));
  QTest::keyClicks(Edit(), "kept");
  other->setFocus();
  EXPECT_FALSE(tree->TreeStates().Contains(tsEditing));
  EXPECT_EQ(tree->texts["0"], "kept");

  tree->SetStringOptions(tree->StringOptions() - TStringOptions{toAutoAcceptEditChange});
  tree->setFocus();
  ASSERT_TRUE(tree->EditNode(tree->At("0"), -1));
  QTest::keyClicks(Edit(), "lost");
  other->setFocus();
  EXPECT_FALSE(tree->TreeStates().Contains(tsEditing));
  EXPECT_EQ(tree->texts["0"], "kept");
  EXPECT_TRUE(tree->log.contains("cancelled"));
}

TEST_F(Editor, MultiLineRowsTakeEnterAsALineBreak) {
  tree->multiline = {"1"};
  tree->ReinitializeNode(tree->At("1"), false);
  ASSERT_TRUE(tree->At("1")->Has(nsMultiline));
  ASSERT_TRUE(tree->EditNode(tree->At("1"), -1));
  EXPECT_EQ(Edit()->lineWrapMode(), QPlainTextEdit::WidgetWidth);
  QTest::keyClick(Edit(), Qt::Key_End, Qt::ControlModifier);
  QTest::keyClick(Edit(), Qt::Key_Return);
  QTest::keyClicks(Edit(), "two");
  EXPECT_TRUE(tree->TreeStates().Contains(tsEditing));
  QTest::keyClick(Edit(), Qt::Key_Return, Qt::ControlModifier);
  EXPECT_FALSE(tree->TreeStates().Contains(tsEditing));
  EXPECT_EQ(tree->texts["1"], "beta\ntwo");
}

TEST_F(Editor, SingleLineKeysStayOnTheLine) {
  ASSERT_TRUE(tree->EditNode(tree->At("1"), -1));
  QTest::keyClick(Edit(), Qt::Key_Home);
  QTest::keyClick(Edit(), Qt::Key_Down);  // moves right, not to another line
  QTest::keyClick(Edit(), Qt::Key_Tab);   // swallowed
  QTest::keyClicks(Edit(), "X");
  QTest::keyClick(Edit(), Qt::Key_Return);
  EXPECT_EQ(tree->texts["1"], "bXeta");
}

TEST_F(Editor, EditorGrowsWithItsText) {
  ASSERT_TRUE(tree->EditNode(tree->At("0"), -1));
  QCoreApplication::processEvents();
  const int before = Edit()->width();
  QTest::keyClick(Edit(), Qt::Key_End);
  QTest::keyClicks(Edit(), "-a-much-longer-text");
  QCoreApplication::processEvents();
  EXPECT_GT(Edit()->width(), before);
  EXPECT_EQ(Edit()->width(), Edit()->fontMetrics().horizontalAdvance(Edit()->toPlainText()) + 2 * tree->TextMargin() +
                                 2 * Edit()->frameWidth() + 2 * int(Edit()->document()->documentMargin()) + 2);
}

TEST_F(Editor, EveryCharacterSurvivesTheRoundTrip) {
  const QString text = QStringLiteral("Ærø – 東京 🙂 Ω");
  tree->texts["0"] = text;
  ASSERT_TRUE(tree->EditNode(tree->At("0"), -1));
  EXPECT_EQ(Edit()->toPlainText(), text);
  QTest::keyClick(Edit(), Qt::Key_End);
  QTest::keyClicks(Edit(), "!");
  QTest::keyClick(Edit(), Qt::Key_Return);
  EXPECT_EQ(tree->texts["0"], text + "!");
}

TEST_F(Editor, ANilLinkFromTheOwnerIsAnError) {
  tree->OnCreateEditor = [](TBaseLazyTree*, PLazyNode, int, std::shared_ptr<ILTEditLink>&) {};
  try {
    tree->EditNode(tree->At("0"), -1);
    FAIL() << "no error";
  } catch (const ELazyTreeError& e) {
    EXPECT_EQ(e.HelpContext(), hcTFEditLinkIsNil);
    EXPECT_EQ(e.Message(), "Edit link must not be nil.");
  }
  EXPECT_FALSE(tree->TreeStates().Contains(tsEditing));
}

TEST_F(Editor, ARefusedTextKeepsTheEditOpen) {
  tree->OnNewText = [](TBaseLazyTree*, PLazyNode, int, const QString&) { throw Exception("no"); };
  ASSERT_TRUE(tree->EditNode(tree->At("0"), -1));
  QTest::keyClicks(Edit(), "x");
  EXPECT_THROW(tree->FinishEdit(), Exception);
  EXPECT_TRUE(tree->TreeStates().Contains(tsEditing));
  EXPECT_TRUE(tree->AbortEdit());  // still open: it can be cancelled
  EXPECT_FALSE(tree->TreeStates().Contains(tsEditing));
}

TEST_F(Editor, AnOpenEditBlocksFocusChangesWhileItCannotEnd) {
  tree->OnNewText = [](TBaseLazyTree*, PLazyNode, int, const QString&) { throw Exception("no"); };
  ASSERT_TRUE(tree->EditNode(tree->At("0"), -1));
  tree->FocusedNode();
  QTest::keyClicks(Edit(), "x");
  EXPECT_THROW(tree->SetFocusedNode(tree->At("2")), Exception);
  EXPECT_EQ(tree->FocusedNode(), tree->At("0"));
  tree->AbortEdit();
}

TEST_F(Editor, DeletingTheEditedNodeOrTheTreeCallsNoOwnerEvent) {
  ASSERT_TRUE(tree->EditNode(tree->At("0"), -1));
  QTest::keyClicks(Edit(), "gone");
  tree->log.clear();
  tree->DeleteNode(tree->At("0"));
  EXPECT_FALSE(tree->TreeStates().Contains(tsEditing));
  EXPECT_FALSE(tree->log.contains("new 0 gone"));

  ASSERT_TRUE(tree->EditNode(tree->At("0"), -1));
  QTest::keyClicks(Edit(), "never");
  QStringList heard;
  tree->OnNewText = [&](TBaseLazyTree*, PLazyNode, int, const QString& t) { heard << t; };
  tree->OnEditCancelled = [&](TBaseLazyTree*, int) { heard << "cancelled"; };
  tree->OnEdited = [&](TBaseLazyTree*, PLazyNode, int) { heard << "edited"; };
  delete tree;
  tree = nullptr;
  EXPECT_TRUE(heard.isEmpty());
}

TEST_F(Editor, ReadOnlyOrAnOwnerVetoKeepsTheCellClosed) {
  tree->OnEditing = [](TBaseLazyTree*, PLazyNode node, int, bool& allowed) { allowed = node->Index != 2; };
  EXPECT_FALSE(tree->EditNode(tree->At("2"), -1));
  EXPECT_EQ(tree->FocusedNode(), tree->At("2"));  // focus moves even when the edit is refused
  tree->TreeOptions().SetMiscOptions(tree->TreeOptions().MiscOptions() + TLTMiscOptions{toReadOnly});
  EXPECT_FALSE(tree->EditNode(tree->At("0"), -1));
  EXPECT_EQ(tree->FocusedNode(), tree->At("2"));
}

}  // namespace
