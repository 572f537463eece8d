#pragma once
// Creating report objects from the type byte of a stream, and the table of add-in
// object classes that are created by class name (type 10).
#include "report/engine/RP_View.h"

#include <QImage>
#include <functional>
#include <memory>

using TrpViewFactory = std::function<std::unique_ptr<TrpView>()>;

struct TrpAddInClass {
  QString className;
  TrpViewFactory create;
  QImage bitmap;
  QString hint;
};

constexpr int kRpMaxAddIns = 64;

// Adds an add-in class unless one of that name is there or the table is full.
void rpRegisterObject(const QString& className, TrpViewFactory create, const QImage& bitmap, const QString& hint);
// The table; the check box is always in it.
const std::vector<TrpAddInClass>& rpAddInClasses();
// The text object (type 0): TrpMemoView unless another factory is set; an empty one
// restores TrpMemoView.
void rpSetMemoViewFactory(TrpViewFactory create);

// 0 text, 1 picture, 2 band, 3 sub-report, 4 line; 10 the add-in registered under
// className (its type set to 10). Each gets the next serial number. An unknown class
// raises EClassNotFound whose message is the class name; any other code gives null.
std::unique_ptr<TrpView> rpCreateObject(int typeCode, const QString& className);
int rpNextSerialNumber();
