// Reading a single-file web archive (MIME HTML, ".mht"): the pages and
// images of a multipart/related message, each part decoded from its
// transfer encoding (7bit, 8bit, binary, quoted-printable, base64), and the
// lookup of a part by the address a page uses for it (its Content-Location,
// or "cid:" and its Content-ID). Pure: the bytes are handed in.
#ifndef FRONTEND_MANUAL_WEB_ARCHIVE_H_
#define FRONTEND_MANUAL_WEB_ARCHIVE_H_

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrl>
#include <variant>

namespace frontend {

struct ArchivePart {
  QString contentType;  // lower case, "text/html"; "text/plain" when not given
  QString charset;      // the charset parameter, lower case; may be empty
  QUrl location;        // Content-Location, resolved against the archive's base; may be empty
  QString contentId;    // Content-ID without its angle brackets; may be empty
  QByteArray body;      // decoded
};

struct WebArchive {
  QList<ArchivePart> parts;  // every leaf part, nested multiparts flattened, in order
  qsizetype root = 0;        // the page shown first: a text/html part
};

struct ArchiveError {
  QString reason;  // a sentence without its full stop: "it holds no HTML page"
};

// Reads `bytes`. The root page is the part named by the multipart's "start"
// parameter, else the first part of its "type", else the first HTML part. A
// part that cannot be decoded (bad base64, an unknown transfer encoding) is
// left out; an archive cut off before its closing boundary keeps the parts
// it has. A file that is plain HTML, without MIME headers, is one page.
// ArchiveError when no HTML page is left, or the structure is unusable.
std::variant<WebArchive, ArchiveError> readWebArchive(const QByteArray& bytes);

// The address of part `index`: its location; else "cid:" and its
// Content-ID; else a made-up "mhtml:/part<index>".
QUrl partUrl(const WebArchive& archive, qsizetype index);

// The part that `url` names, its fragment ignored: by partUrl(), or a
// "cid:" address by Content-ID (case kept, as RFC 2392 compares them).
// nullptr when none does.
const ArchivePart* findPart(const WebArchive& archive, const QUrl& url);

// The text of a part: decoded by its charset, else by the charset an HTML
// page declares in a meta element, else as UTF-8.
QString partText(const ArchivePart& part);

}  // namespace frontend

#endif  // FRONTEND_MANUAL_WEB_ARCHIVE_H_
