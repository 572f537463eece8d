#pragma once
// The in-place editor of a tree cell: the contract between the tree and any editor
// (ILTEditLink), the default link of the string tree (TStringEditLink) and the edit
// control it drives (TLTEdit). Text stays a QString all the way from the owner to the
// editor and back, so no character is ever lost on the way.
#include "treeview/LazyTreeTypes.h"
#include "treeview/LazyStringTree.h"

#include <QPlainTextEdit>
#include <QPointer>
#include <QRect>

class QEvent;
class TBaseLazyTree;
class TCustomLazyStringTree;
class TStringEditLink;

class ILTEditLink {
public:
  virtual ~ILTEditLink() = default;
  // Shows the editor; false stops the edit.
  virtual bool StartEditing() = 0;
  // False keeps the tree in its editing state.
  virtual bool AbortEditing() = 0;
  virtual bool FinishEditing() = 0;
  // Takes the cell; false means this link cannot edit it.
  virtual bool PrepareEditing(TBaseLazyTree* Tree, PLazyNode Node, int Column) = 0;
  virtual QRect EditorBounds() = 0;
  virtual void ForwardMessage(QEvent* Message) = 0;
  virtual void SetEditorBounds(QRect R) = 0;
  // The tree or the program goes away: the editor closes without writing anything back
  // and without calling the owner.
  virtual void ReleaseEditing() {}
};

// The edit control. Single-line cells edit on one line that grows with the text;
// multi-line cells wrap and scroll vertically.
class TLTEdit : public QPlainTextEdit {
  Q_OBJECT
public:
  TLTEdit(TStringEditLink* Link, QWidget* Parent);
  ~TLTEdit() override;

  void SetMultiline(bool Value);
  bool Multiline() const { return multiline_; }
  // Fits the width to the text (single-line cells): text width + 2 × TextMargin.
  void AutoAdjustSize();
  void Detach() { link_ = nullptr; }
  TStringEditLink* Link() const { return link_; }

protected:
  void keyPressEvent(QKeyEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;

private:
  TStringEditLink* link_;
  bool multiline_ = false;
};

class TStringEditLink : public ILTEditLink {
public:
  TStringEditLink();
  ~TStringEditLink() override;

  bool StartEditing() override;
  bool AbortEditing() override;
  bool FinishEditing() override;
  bool PrepareEditing(TBaseLazyTree* Tree, PLazyNode Node, int Column) override;
  QRect EditorBounds() override;
  void ForwardMessage(QEvent* Message) override;
  void SetEditorBounds(QRect R) override;
  void ReleaseEditing() override;

  TLTEdit* Edit() const { return edit_; }
  TCustomLazyStringTree* Tree() const { return tree_; }
  PLazyNode Node() const { return node_; }
  int Column() const { return column_; }
  bool Stopped() const { return stopped_; }
  // The edit control is being destroyed while still linked.
  void EditDestroyed(const QString& Text, bool Modified);

private:
  void DetachEdit();

  QPointer<TLTEdit> edit_;
  QPointer<TCustomLazyStringTree> tree_;
  PLazyNode node_ = nullptr;
  int column_ = -1;
  Qt::Alignment alignment_ = Qt::AlignLeft;
  bool stopped_ = false;
};
