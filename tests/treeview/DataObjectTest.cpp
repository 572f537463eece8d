// The data object's format negotiation, without a drag: which requests it answers, the
// error of a mismatch, rendering once per format, data handed to it and its enumerator.
#include "support/LogCapture.h"
#include "NamedTree.h"

#include "treeview/LazyTreeDataObject.h"

namespace {

class DataObject : public ::testing::Test {
protected:
  void SetUp() override {
    tree.Add("a");
    tree.AddToSelection(tree.Named("a"));
    // A format of the owner's, with a stream medium, rendered by the owner.
    userFormat = RegisterClipboardFormat("application/x-test-notes");
    tree.OnGetUserClipboardFormats = [this](TBaseLazyTree*, QVector<TFormatEtc>& formats) {
      formats.append({userFormat, DVASPECT_CONTENT, -1, TYMED_HGLOBAL | TYMED_ISTREAM});
    };
    tree.OnRenderOLEData = [this](TBaseLazyTree*, const TFormatEtc& f, TStgMedium& medium, bool, THResult& result) {
      ++renders[f.Format];
      if (f.Format != userFormat) return;
      medium.Tymed = TYMED_HGLOBAL;
      medium.HGlobal = "notes";
      result = S_OK;
    };
  }
  void TearDown() override {
    tree.OnGetUserClipboardFormats = nullptr;
    tree.OnRenderOLEData = nullptr;
  }
  NamedTree tree;
  int userFormat = 0;
  std::map<int, int> renders;
};

TEST_F(DataObject, QueryGetDataAnswersTheErrorOfTheLastMismatch) {
  TLTDataObject data(&tree, false);
  const int treeData = CF_LAZYTREEDATA();
  struct Case {
    TFormatEtc request;
    THResult result;
  } cases[] = {
      {{treeData, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}, S_OK},
      {{treeData, DVASPECT_CONTENT, -1, TYMED_HGLOBAL | TYMED_ISTREAM}, S_OK},
      {{userFormat, DVASPECT_CONTENT, -1, TYMED_ISTREAM}, S_OK},
      {{CF_CSV(), DVASPECT_CONTENT, -1, TYMED_HGLOBAL}, DV_E_FORMATETC},  // not allowed by this tree
      {{treeData, DVASPECT_CONTENT, -1, TYMED_ISTREAM}, DV_E_TYMED},
      {{treeData, 4, -1, TYMED_HGLOBAL}, DV_E_DVASPECT},
      {{treeData, DVASPECT_CONTENT, 0, TYMED_HGLOBAL}, DV_E_LINDEX},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(data.QueryGetData(c.request), c.result) << c.request.Format << ' ' << c.request.Tymed;
    if (c.result == S_OK) continue;
    TStgMedium medium;
    EXPECT_EQ(data.GetData(c.request, medium), c.result);
    EXPECT_EQ(medium.Tymed, TYMED_NULL);
  }
  TFormatEtc canonical;
  EXPECT_EQ(data.GetCanonicalFormatEtc(cases[0].request, canonical), DATA_S_SAMEFORMATETC);
  EXPECT_EQ(canonical, cases[0].request);
  TStgMedium here;
  EXPECT_EQ(data.GetDataHere(cases[0].request, here), E_NOTIMPL);
}

TEST_F(DataObject, EachFormatIsRenderedOnceWhenFirstAskedFor) {
  TLTDataObject data(&tree, false);
  EXPECT_TRUE(renders.empty());  // nothing before a request
  for (int i = 0; i < 3; ++i) EXPECT_EQ(data.data("application/x-test-notes"), "notes");
  EXPECT_EQ(renders[userFormat], 1);
  const QByteArray first = data.data("application/x-lazy-tree-data");
  tree.Named("a")->Include(nsDisabled);  // a later change does not reach data given out
  EXPECT_EQ(data.data("application/x-lazy-tree-data"), first);
  // A format not offered is not rendered; a renderer that fails leaves nothing.
  TStgMedium medium;
  EXPECT_EQ(data.GetData({userFormat + 999, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}, medium), DV_E_FORMATETC);
  tree.OnRenderOLEData = [](TBaseLazyTree*, const TFormatEtc&, TStgMedium&, bool, THResult&) {
    throw ELazyTreeError("renderer failed", 0);
  };
  TLTDataObject failing(&tree, false);
  LogCapture log;
  EXPECT_EQ(failing.GetData({userFormat, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}, medium), E_FAIL);
  EXPECT_EQ(medium.Tymed, TYMED_NULL);
  EXPECT_TRUE(log.Contains("renderer failed")) << "the cause is logged: " << log.Lines().join('|').toStdString();
}

TEST_F(DataObject, TreeDataComesAsABlockOrAsAStreamOfNodeChunks) {
  TLTDataObject data(&tree, false);
  TStgMedium block, stream;
  ASSERT_EQ(data.GetData({CF_LAZYTREEDATA(), DVASPECT_CONTENT, -1, TYMED_HGLOBAL}, block), S_OK);
  ASSERT_EQ(tree.RenderTreeData({CF_LAZYTREEDATA(), DVASPECT_CONTENT, -1, TYMED_ISTREAM}, stream, false), S_OK);
  ASSERT_EQ(stream.Tymed, TYMED_ISTREAM);
  EXPECT_EQ(stream.Stream->Position(), 0);
  EXPECT_EQ(block.HGlobal.mid(4), stream.Stream->Bytes());
  // Nothing to write: no data.
  tree.UnselectAll();
  TStgMedium none;
  EXPECT_EQ(tree.RenderTreeData({CF_LAZYTREEDATA(), DVASPECT_CONTENT, -1, TYMED_HGLOBAL}, none, false), E_FAIL);
}

TEST_F(DataObject, DataHandedToItIsKeptOfferedAndToldToSinks) {
  TLTDataObject data(&tree, false);
  const int extra = RegisterClipboardFormat("application/x-test-extra");
  QVector<int> told;
  int connection = 0;
  ASSERT_EQ(data.DAdvise({}, [&](const TFormatEtc& f) { told << f.Format; }, connection), S_OK);
  TStgMedium medium;
  medium.Tymed = TYMED_HGLOBAL;
  medium.HGlobal = "kept";
  EXPECT_EQ(data.SetData({extra, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}, medium, true), S_OK);
  EXPECT_EQ(medium.Tymed, TYMED_NULL);  // taken over
  EXPECT_EQ(told, QVector<int>{extra});
  EXPECT_TRUE(data.formats().contains("application/x-test-extra"));
  TStgMedium out;
  EXPECT_EQ(data.GetData({extra, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}, out), S_OK);
  EXPECT_EQ(out.HGlobal, "kept");
  EXPECT_EQ(data.DUnadvise(connection), S_OK);
  EXPECT_EQ(data.DUnadvise(connection), E_FAIL);
}

TEST_F(DataObject, TheEnumeratorWalksACopyOfTheFormats) {
  TLTDataObject data(&tree, false);
  std::unique_ptr<TEnumFormatEtc> formats;
  EXPECT_EQ(data.EnumFormatEtc(DATADIR_SET, formats), E_NOTIMPL);
  ASSERT_EQ(data.EnumFormatEtc(DATADIR_GET, formats), S_OK);
  const int count = static_cast<int>(data.FormatEtcArray().size());
  ASSERT_EQ(count, 3);  // tree data, Unicode text, the owner's
  QVector<TFormatEtc> got;
  EXPECT_EQ(formats->Next(2, got), S_OK);
  EXPECT_EQ(got, data.FormatEtcArray().mid(0, 2));
  std::unique_ptr<TEnumFormatEtc> clone;
  EXPECT_EQ(formats->Clone(nullptr), E_FAIL);
  EXPECT_EQ(formats->Clone(&clone), S_OK);
  EXPECT_EQ(formats->Next(5, got), S_FALSE);
  EXPECT_EQ(got.size(), 1);
  EXPECT_EQ(clone->Next(1, got), S_OK);  // the clone goes on from where it was made
  EXPECT_EQ(got, data.FormatEtcArray().mid(2, 1));
  EXPECT_EQ(formats->Reset(), S_OK);
  EXPECT_EQ(formats->Skip(3), S_OK);
  EXPECT_EQ(formats->Skip(1), S_FALSE);
}

}  // namespace
