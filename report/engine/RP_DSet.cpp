#include "report/engine/RP_DSet.h"

void TrpDataset::First() {
  recNo_ = 0;
  if (OnFirst) OnFirst();
}

void TrpDataset::Next() {
  ++recNo_;
  if (!CountReached() && OnNext) OnNext();
}

void TrpDataset::Prior() {
  --recNo_;
  if (OnPrior) OnPrior();
}

bool TrpDataset::Eof() {
  bool eof = CountReached();
  if (OnCheckEOF) OnCheckEOF(eof);
  return eof;
}
