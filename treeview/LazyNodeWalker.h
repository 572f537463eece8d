#pragma once
// Tree order and display order over the node store's links. The control's plain
// navigation walks with readiness hooks that initialise the nodes it reaches (and create
// the children of a node that may have some before following them); its Raw navigation
// walks without, changing nothing and calling no owner.
#include "treeview/LazyNodeStore.h"

// How a walk makes the nodes it reaches ready.
class TNodeReadiness {
public:
  virtual void InitializeNode(PLazyNode Node) = 0;
  virtual void InitializeChildren(PLazyNode Node) = 0;

protected:
  ~TNodeReadiness() = default;
};

class TLazyNodeWalker {
public:
  // Readiness nil: the walk only reads.
  explicit TLazyNodeWalker(const TLazyNodeStore& Store, TNodeReadiness* Readiness = nullptr)
      : store_(Store), root_(Store.Root()), readiness_(Readiness) {}

  PLazyNode Ready(PLazyNode node) const {
    if (readiness_ && node && node != root_ && !node->Has(nsInitialized)) readiness_->InitializeNode(node);
    return node;
  }
  void Children(PLazyNode node) const {
    if (readiness_ && node != root_ && node->Has(nsHasChildren) && node->ChildCount == 0)
      readiness_->InitializeChildren(node);
  }
  PLazyNode Visible(PLazyNode node) const { return node && Ready(node)->Has(nsVisible) ? node : nullptr; }
  PLazyNode FirstVisibleChild(PLazyNode node) const {
    Children(node);
    for (PLazyNode run = node->FirstChild; run; run = run->NextSibling)
      if (Visible(run)) return run;
    return nullptr;
  }
  PLazyNode LastVisibleChild(PLazyNode node) const {
    Children(node);
    for (PLazyNode run = node->LastChild; run; run = run->PrevSibling)
      if (Visible(run)) return run;
    return nullptr;
  }
  // Node itself or its deepest last visible descendant along expanded nodes.
  PLazyNode DeepestLastVisible(PLazyNode node) const {
    while (node == root_ || node->Has(nsExpanded)) {
      PLazyNode child = LastVisibleChild(node);
      if (!child) break;
      node = child;
    }
    return node;
  }
  PLazyNode DeepestLast(PLazyNode node) const {
    for (;;) {
      Ready(node);
      Children(node);
      if (!node->LastChild) return node;
      node = node->LastChild;
    }
  }
  PLazyNode Next(PLazyNode node) const {
    Ready(node);
    Children(node);
    if (node->FirstChild) return Ready(node->FirstChild);
    while (!node->NextSibling) {
      node = node->Parent;
      if (node == root_) return nullptr;
    }
    return Ready(node->NextSibling);
  }
  PLazyNode Previous(PLazyNode node) const {
    if (node->PrevSibling) return Ready(DeepestLast(node->PrevSibling));
    return node->Parent == root_ ? nullptr : Ready(node->Parent);
  }
  // A node that is not in view stands for the outermost ancestor whose parent shows it:
  // display order continues from there without entering its children.
  PLazyNode ShownLevel(PLazyNode node, bool& inView) const {
    inView = store_.IsNodeInView(node);
    if (!inView)
      while (node->Parent != root_ && !(node->Parent->Has(nsExpanded) && store_.IsNodeInView(node->Parent)))
        node = node->Parent;
    return node;
  }
  PLazyNode NextVisible(PLazyNode node) const {
    bool inView;
    node = ShownLevel(node, inView);
    if (inView && node->Has(nsExpanded)) {
      Ready(node);
      if (PLazyNode child = FirstVisibleChild(node)) return child;
    }
    for (;;) {
      for (PLazyNode run = node->NextSibling; run; run = run->NextSibling)
        if (Visible(run)) return run;
      node = node->Parent;
      if (node == root_) return nullptr;
    }
  }
  PLazyNode PreviousVisible(PLazyNode node) const {
    bool inView;
    PLazyNode level = ShownLevel(node, inView);
    // Inside a collapsed node in view, that node is the row just above.
    if (level != node && level->Has(nsVisible)) return Ready(level);
    node = level;
    for (PLazyNode run = node->PrevSibling; run; run = run->PrevSibling)
      if (Visible(run)) return DeepestLastVisible(run);
    return node->Parent == root_ ? nullptr : Ready(node->Parent);
  }

private:
  const TLazyNodeStore& store_;
  PLazyNode root_;
  TNodeReadiness* readiness_;
};
