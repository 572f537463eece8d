#pragma once
// A non-visual component: a QObject that knows whether its owner is still setting it up.
// Forms built in code bracket their setup with BeginLoading and EndLoading, so that
// what a component does "when loading ends" happens once, with every property in place.
#include <QObject>

class TComponent : public QObject {
  Q_OBJECT

public:
  explicit TComponent(QObject* owner = nullptr) : QObject(owner) {}

  bool Loading() const { return loading_; }
  void BeginLoading() { loading_ = true; }
  // Ends the setup and runs Loaded; nothing when no setup was begun.
  void EndLoading() {
    if (!loading_) return;
    loading_ = false;
    Loaded();
  }

protected:
  virtual void Loaded() {}

private:
  bool loading_ = false;
};
