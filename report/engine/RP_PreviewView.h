#pragma once
// What the report component needs of a preview, without knowing any widget: something
// that shows a report's prepared pages (the report's Preview property, or a preview
// control on a window of the program), and the standalone preview window that
// ShowPreparedReport opens when no such control is assigned. The report library
// implements both on its widgets and puts the window's factory in the engine's context
// (TrpContext::CreatePreviewWindow).
#include <QString>

class TrpReport;

class TrpPreviewView {
public:
  virtual ~TrpPreviewView() = default;
  // Shows the report's prepared pages from the first on. The report outlives the
  // connection, and its pages do not change while it lasts (the report disconnects an
  // empty view before it prints or exports, and connects it again afterwards).
  virtual void ConnectReport(TrpReport& report) = 0;
  // Stops showing the pages.
  virtual void Disconnect() = 0;
  // Whether it shows pages now.
  virtual bool ShowsPages() const = 0;
};

// The standalone preview window. The report owns it: the window never outlives the
// pages it shows.
class TrpPreviewWindow : public TrpPreviewView {
public:
  // Shows the connected report under caption: modal runs until the window closes; else
  // it stays open after the call, as an MDI child in normal state when mdiChild is set.
  virtual void ShowWindow(const QString& caption, bool modal, bool mdiChild) = 0;
};
