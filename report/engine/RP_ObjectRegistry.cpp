// The object factory and the add-in table.
#include "report/engine/RP_ObjectRegistry.h"

#include "report/engine/RP_BandView.h"
#include "report/engine/RP_ChBox.h"
#include "report/engine/RP_Errors.h"
#include "report/engine/RP_LineView.h"
#include "report/engine/RP_MemoView.h"
#include "report/engine/RP_PictureView.h"
#include "report/engine/RP_SubReportView.h"

#include <atomic>

namespace {

std::vector<TrpAddInClass>& AddIns() {
  static std::vector<TrpAddInClass> table = [] {
    std::vector<TrpAddInClass> t;
    t.push_back({QStringLiteral("TrpCheckBoxView"), [] { return std::make_unique<TrpCheckBoxView>(); },
                 rpCheckBoxBitmap(), QStringLiteral("Check box")});
    return t;
  }();
  return table;
}

TrpViewFactory DefaultMemoFactory() {
  return [] { return std::make_unique<TrpMemoView>(); };
}

TrpViewFactory& MemoFactory() {
  static TrpViewFactory factory = DefaultMemoFactory();
  return factory;
}

}  // namespace

void rpRegisterObject(const QString& className, TrpViewFactory create, const QImage& bitmap, const QString& hint) {
  auto& table = AddIns();
  for (const TrpAddInClass& entry : table) {
    if (entry.className.compare(className, Qt::CaseInsensitive) == 0) return;
  }
  if (static_cast<int>(table.size()) >= kRpMaxAddIns) return;
  table.push_back({className, std::move(create), bitmap, hint});
}

const std::vector<TrpAddInClass>& rpAddInClasses() { return AddIns(); }

// An empty factory puts the memo view back, so a stand-in a test installed ends with it.
void rpSetMemoViewFactory(TrpViewFactory create) {
  MemoFactory() = create ? std::move(create) : DefaultMemoFactory();
}

int rpNextSerialNumber() {
  static std::atomic<int> serial{0};
  return ++serial;
}

std::unique_ptr<TrpView> rpCreateObject(int typeCode, const QString& className) {
  switch (typeCode) {
    case rpObjectType::Memo:
      if (!MemoFactory()) throw EClassNotFound(QStringLiteral("TrpMemoView"));
      return MemoFactory()();
    case rpObjectType::Picture:
      return std::make_unique<TrpPictureView>();
    case rpObjectType::Band:
      return std::make_unique<TrpBandView>();
    case rpObjectType::SubReport:
      return std::make_unique<TrpSubReportView>();
    case rpObjectType::Line:
      return std::make_unique<TrpLineView>();
    case rpObjectType::AddIn:
      for (const TrpAddInClass& entry : AddIns()) {
        if (entry.className.compare(className, Qt::CaseInsensitive) == 0) {
          std::unique_ptr<TrpView> view = entry.create();
          view->Typ = rpObjectType::AddIn;
          return view;
        }
      }
      throw EClassNotFound(className);
    default:
      return nullptr;
  }
}
