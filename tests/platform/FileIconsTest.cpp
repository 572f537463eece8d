#include "platform/FileIcons.h"
#include "support/TempDir.h"

#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <gtest/gtest.h>

TEST(FileIcons, ExtensionLookups) {
  const struct {
    const char* extension;
    const char* type;
  } cases[] = {
      {".txt", "text/plain"}, {"txt", "text/plain"}, {".TXT", "text/plain"}, {".html", "text/html"},
      {".pdf", "application/pdf"}, {".zqxjk", ""}, {"", ""}, {".", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(FileIcons::MimeTypeNameForExtension(c.extension), c.type) << c.extension;
  EXPECT_FALSE(FileIcons::MimeTypeCommentForExtension(".txt").isEmpty());
  EXPECT_TRUE(FileIcons::MimeTypeCommentForExtension(".zqxjk").isEmpty());
}

TEST(FileIcons, ExistingFilesAreRecognisedByContent) {
  TempDir dir;
  QImage image(4, 4, QImage::Format_RGB32);
  image.fill(Qt::red);
  ASSERT_TRUE(image.save(dir.File("picture"), "PNG"));
  EXPECT_EQ(FileIcons::MimeTypeForFile(dir.File("picture")).name(), "image/png");
  EXPECT_EQ(FileIcons::MimeTypeForFile(dir.File("missing.pdf")).name(), "application/pdf");
}

TEST(FileIcons, IconFilesAndOurFallback) {
  TempDir dir;
  QImage image(16, 16, QImage::Format_ARGB32);
  image.fill(Qt::blue);
  ASSERT_TRUE(image.save(dir.File("blue.png"), "PNG"));
  const QIcon own = FileIcons::IconFromIconFile(dir.File("blue.png"));
  ASSERT_FALSE(own.isNull());
  EXPECT_EQ(own.pixmap(16, 16).toImage().pixelColor(8, 8), QColor(Qt::blue));

  WriteAll(dir.File("broken.ico"), "no icon in here");
  EXPECT_TRUE(FileIcons::IconFromIconFile(dir.File("broken.ico")).isNull());
  EXPECT_TRUE(FileIcons::IconFromIconFile(dir.File("missing.ico")).isNull());

  const QIcon fallback = FileIcons::FallbackFileIcon();
  ASSERT_FALSE(fallback.isNull());
  EXPECT_EQ(fallback.pixmap(16, 16).size(), QSize(16, 16));
  EXPECT_EQ(fallback.pixmap(32, 32).size(), QSize(32, 32));
}
