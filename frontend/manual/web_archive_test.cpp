#include "frontend/manual/web_archive.h"

#include <gtest/gtest.h>

#include <QFile>

namespace frontend {
namespace {

struct ExpectedPart {
  QString type;
  QString location;  // as partUrl() gives it
  QByteArray body;
};

// Line ends of the archive as written by hand below (LF) turned into CR LF.
QByteArray crlf(QByteArray text) { return text.replace("\n", "\r\n"); }

const QByteArray kImageBytes("\x89PNG\r\n\x1a\n\0\x01\xff", 11);

TEST(WebArchiveTest, PartsAreDecodedAndTheRootIsChosen) {
  const struct {
    const char* name;
    QByteArray bytes;
    std::vector<ExpectedPart> parts;
    qsizetype root;
  } cases[] = {
      {"quoted-printable page, base64 image by Content-ID, CR LF, start parameter",
       crlf("MIME-Version: 1.0\n"
            "Content-Type: multipart/related; type=\"text/html\";\n"
            "\tboundary=\"--b=1\"; start=\"<page@x>\"\n"
            "\n"
            "preamble\n"
            "----b=1\n"
            "Content-Type: text/html; charset=us-ascii\n"
            "\n"
            "<p>other</p>\n"
            "----b=1\n"
            "Content-Type: text/html; charset=\"utf-8\"\n"
            "Content-Transfer-Encoding: quoted-printable\n"
            "Content-ID: <page@x>\n"
            "\n"
            "<p class=3D\"a\">caf=C3=A9 soft=\n"
            "ly joined   \n"
            "<img src=3D\"cid:img@x\"></p>\n"
            "----b=1\n"
            "Content-Type: image/png\n"
            "Content-Transfer-Encoding: base64\n"
            "Content-ID: <img@x>\n"
            "\n" +
            kImageBytes.toBase64().insert(8, "\n") +
            "\n"
            "----b=1--\n"
            "epilogue\n"),
       {{"text/html", "mhtml:/part0", crlf("<p>other</p>")},
        {"text/html", "cid:page@x", crlf("<p class=\"a\">caf\xc3\xa9 softly joined\n<img src=\"cid:img@x\"></p>")},
        {"image/png", "cid:img@x", kImageBytes}},
       1},
      {"LF only, unquoted boundary, locations resolved against the archive's",
       "Content-Location: http://example.org/doc/\n"
       "Content-Type: multipart/related; boundary=B\n"
       "\n"
       "--B\n"
       "Content-Type: image/gif\n"
       "Content-Location: pics/a.gif\n"
       "Content-Transfer-Encoding: 8bit\n"
       "\n"
       "GIF89a\n"
       "--B\n"
       "Content-Type: TEXT/HTML\n"
       "Content-Location: index.html\n"
       "\n"
       "<img src=\"pics/a.gif\">\n"
       "--B--\n",
       {{"image/gif", "http://example.org/doc/pics/a.gif", "GIF89a"},
        {"text/html", "http://example.org/doc/index.html", "<img src=\"pics/a.gif\">"}},
       1},
      {"nested alternative, an archive cut off before its closing boundary",
       "Content-Type: multipart/related; boundary=\"outer\"\n"
       "\n"
       "--outer\n"
       "Content-Type: multipart/alternative; boundary=\"inner\"\n"
       "\n"
       "--inner\n"
       "Content-Type: text/plain\n"
       "\n"
       "plain\n"
       "--inner\n"
       "Content-Type: text/html\n"
       "\n"
       "<b>rich</b>\n"
       "--inner--\n"
       "--outer\n"
       "Content-Location: file:///cut.css\n"
       "Content-Type: text/css\n"
       "\n"
       "b { color: red }\n",
       {{"text/plain", "mhtml:/part0", "plain"},
        {"text/html", "mhtml:/part1", "<b>rich</b>"},
        {"text/css", "file:///cut.css", "b { color: red }\n"}},
       1},
      {"damaged image and unknown encoding left out, the page kept",
       "Content-Type: multipart/related; boundary=x\n"
       "\n"
       "--x\n"
       "Content-Type: image/png\n"
       "Content-Transfer-Encoding: base64\n"
       "\n"
       "iVBO*&%not base64\n"
       "--x\n"
       "Content-Type: image/png\n"
       "Content-Transfer-Encoding: x-uuencode\n"
       "\n"
       "begin 644 a.png\n"
       "--x\n"
       "Content-Type: text/html\n"
       "Content-Transfer-Encoding: quoted-printable\n"
       "\n"
       "a=ZZb=\n"
       "--x--\n",
       {{"text/html", "mhtml:/part0", "a=ZZb"}},
       0},
      {"single-part archive",
       "Content-Type: text/html; charset=iso-8859-1\n"
       "Content-Transfer-Encoding: base64\n"
       "\n"
       "PGgxPkNhZukhPC9oMT4=\n",
       {{"text/html", "mhtml:/part0", "<h1>Caf\xe9!</h1>"}},
       0},
      {"plain HTML without MIME headers",
       "\xef\xbb\xbf  <!DOCTYPE html><title>t</title>\n<p>a: b</p>\n",
       {{"text/html", "mhtml:/part0", "\xef\xbb\xbf  <!DOCTYPE html><title>t</title>\n<p>a: b</p>\n"}},
       0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto read = readWebArchive(c.bytes);
    ASSERT_TRUE(std::holds_alternative<WebArchive>(read)) << std::get<ArchiveError>(read).reason.toStdString();
    const WebArchive& archive = std::get<WebArchive>(read);
    ASSERT_EQ(archive.parts.size(), qsizetype(c.parts.size()));
    for (qsizetype i = 0; i < archive.parts.size(); ++i) {
      EXPECT_EQ(archive.parts[i].contentType, c.parts[i].type) << "part " << i;
      EXPECT_EQ(partUrl(archive, i).toString(), c.parts[i].location) << "part " << i;
      EXPECT_EQ(archive.parts[i].body, c.parts[i].body) << "part " << i;
    }
    EXPECT_EQ(archive.root, c.root);
  }
}

TEST(WebArchiveTest, UnusableArchivesSayWhy) {
  const struct {
    QByteArray bytes;
    const char* reason;
  } cases[] = {
      {"", "it is empty"},
      {" \r\n\t", "it is empty"},
      {QByteArray("\x7f" "ELF\x02\x01\x01\0\0\0", 10), "it is not a web archive: it has no MIME header"},
      {"Subject: notes\n\nplain text\n", "it is not a web archive: it has no MIME header"},
      {"Content-Type: multipart/related\n\n--x\n\n<p>x</p>\n", "its parts have no boundary"},
      {"Content-Type: multipart/related; boundary=x\n\n--y\nContent-Type: text/html\n\n<p>\n",
       "it holds no HTML page"},
      {"Content-Type: multipart/related; boundary=x\n\n--x\nContent-Type: image/png\n\nPNG\n--x--\n",
       "it holds no HTML page"},
      {"Content-Type: multipart/related; boundary=x\n\n--x\nContent-Type: text/html\n"
       "Content-Transfer-Encoding: base64\n\n<html>\n--x--\n",
       "its HTML page cannot be decoded"},
  };
  for (const auto& c : cases) {
    const auto read = readWebArchive(c.bytes);
    ASSERT_TRUE(std::holds_alternative<ArchiveError>(read)) << c.bytes.toStdString();
    EXPECT_EQ(std::get<ArchiveError>(read).reason, c.reason) << c.bytes.toStdString();
  }
}

TEST(WebArchiveTest, PartsAreFoundByLocationOrContentIdAndTextByCharset) {
  const auto read = readWebArchive(
      "Content-Type: multipart/related; boundary=x\n\n"
      "--x\nContent-Type: text/html; charset=windows-1252\nContent-Location: file:///a/page.htm\n\n"
      "\x93quoted\x94\n"
      "--x\nContent-Type: text/html\nContent-ID: <Part.1@X>\n\n"
      "<meta charset=\"iso-8859-1\"><p>\xe9</p>\n"
      "--x--\n");
  ASSERT_TRUE(std::holds_alternative<WebArchive>(read));
  const WebArchive& archive = std::get<WebArchive>(read);
  EXPECT_EQ(findPart(archive, QUrl("file:///a/page.htm#top")), &archive.parts[0]);
  EXPECT_EQ(findPart(archive, QUrl("cid:Part.1@X")), &archive.parts[1]);
  EXPECT_EQ(findPart(archive, QUrl("cid:part.1@x")), nullptr);
  EXPECT_EQ(findPart(archive, QUrl("file:///a/other.htm")), nullptr);
  EXPECT_EQ(partText(archive.parts[0]), QString::fromUtf8("\u201cquoted\u201d"));
  EXPECT_TRUE(partText(archive.parts[1]).endsWith(QString::fromUtf8("<p>\u00e9</p>")));
}

TEST(WebArchiveTest, TheManualReadsAsOnePageWithItsTitleAndSections) {
  QFile file(QStringLiteral(SONABRIX_MANUAL));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const auto read = readWebArchive(file.readAll());
  ASSERT_TRUE(std::holds_alternative<WebArchive>(read));
  const WebArchive& archive = std::get<WebArchive>(read);
  ASSERT_EQ(archive.parts.size(), 1);
  EXPECT_EQ(partUrl(archive, 0), QUrl("file:///MSonabrix.htm"));
  const QString page = partText(archive.parts[0]);
  EXPECT_TRUE(page.contains("<title>Sonabrix 2.5 - User Manual</title>"));
  EXPECT_TRUE(page.contains("<h2 id=\"filter\">"));
  EXPECT_TRUE(page.trimmed().endsWith("</html>"));
}

}  // namespace
}  // namespace frontend
