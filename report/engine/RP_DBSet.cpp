#include "report/engine/RP_DBSet.h"

#include "report/engine/RP_Errors.h"
#include "report/engine/RP_Locale.h"
#include "report/engine/RP_StringTable.h"

void TrpDBDataSet::SetDataSet(TrpTableDataSet* dataSet) {
  dataSet_ = dataSet;
  if (dataSet) dataSource_ = nullptr;
}

void TrpDBDataSet::SetDataSource(TrpDataSource* dataSource) {
  dataSource_ = dataSource;
  if (dataSource) dataSet_ = nullptr;
}

TrpTableDataSet* TrpDBDataSet::TableDataSet() const {
  if (dataSource_) return dataSource_->DataSet();
  return dataSet_;
}

TrpTableDataSet& TrpDBDataSet::Table() const {
  TrpTableDataSet* table = TableDataSet();
  if (!table) throw ErpError(rpLoadStr(rpStrings::UnableToOpenDataset) + objectName());
  return *table;
}

void TrpDBDataSet::Init() {
  TrpTableDataSet& table = Table();
  if (openDataSource_ && !table.Active()) table.Open();
  if (OnOpen) OnOpen();
  if (RangeBegin() == rbCurrent || RangeEnd() == reCurrent) {
    bookmark_ = table.GetBookmark();
    hasBookmark_ = true;
  }
  eof_ = false;
}

void TrpDBDataSet::Exit() {
  TrpTableDataSet* table = TableDataSet();
  if (hasBookmark_ && table) {
    table->GotoBookmark(bookmark_);
    table->FreeBookmark(bookmark_);
  }
  hasBookmark_ = false;
  if (OnClose) OnClose();
  if (closeDataSource_ && table) table->Close();
}

void TrpDBDataSet::First() {
  TrpTableDataSet& table = Table();
  if (RangeBegin() == rbCurrent && hasBookmark_) {
    table.GotoBookmark(bookmark_);
  } else {
    table.First();
  }
  eof_ = false;
  TrpDataset::First();
}

void TrpDBDataSet::Next() {
  TrpTableDataSet& table = Table();
  if (RangeEnd() == reCurrent && hasBookmark_ && table.GetBookmark() == bookmark_) {
    eof_ = true;
    return;
  }
  table.Next();
  TrpDataset::Next();
}

void TrpDBDataSet::Prior() {
  Table().Prior();
  TrpDataset::Prior();
}

bool TrpDBDataSet::Eof() {
  const bool base = TrpDataset::Eof();
  TrpTableDataSet* table = TableDataSet();
  return base || (table && table->Eof()) || eof_;
}
