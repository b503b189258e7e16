#include "frontend/manual/web_archive.h"

#include <QStringDecoder>
#include <optional>

namespace frontend {

namespace {

// Nested multiparts deeper than this are not followed.
constexpr int kMaxDepth = 8;

struct Headers {
  QList<std::pair<QByteArray, QByteArray>> fields;  // names in lower case

  QByteArray value(const QByteArray& name) const {
    for (const auto& [field, value] : fields)
      if (field == name) return value;
    return {};
  }
};

// A header value split into its lower-case main value and its parameters
// ("multipart/related; boundary=\"x\"; type=text/html").
struct HeaderValue {
  QByteArray main;
  QList<std::pair<QByteArray, QByteArray>> parameters;  // names in lower case

  QByteArray parameter(const QByteArray& name) const {
    for (const auto& [key, value] : parameters)
      if (key == name) return value;
    return {};
  }
};

HeaderValue parseHeaderValue(const QByteArray& text) {
  HeaderValue result;
  qsizetype i = text.indexOf(';');
  result.main = text.left(i < 0 ? text.size() : i).trimmed().toLower();
  while (i >= 0 && i < text.size()) {
    ++i;  // past ';'
    const qsizetype equals = text.indexOf('=', i);
    if (equals < 0) break;
    const QByteArray name = text.mid(i, equals - i).trimmed().toLower();
    i = equals + 1;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    QByteArray value;
    if (i < text.size() && text[i] == '"') {
      for (++i; i < text.size() && text[i] != '"'; ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) ++i;
        value += text[i];
      }
      i = text.indexOf(';', i);
    } else {
      const qsizetype end = text.indexOf(';', i);
      value = text.mid(i, end < 0 ? -1 : end - i).trimmed();
      i = end;
    }
    result.parameters.append({name, value});
  }
  return result;
}

// The end of the line that starts at `from`, before its LF or CR LF, and the
// start of the next line.
std::pair<qsizetype, qsizetype> lineAt(const QByteArray& bytes, qsizetype from) {
  const qsizetype feed = bytes.indexOf('\n', from);
  if (feed < 0) return {bytes.size(), bytes.size()};
  const qsizetype end = feed > from && bytes[feed - 1] == '\r' ? feed - 1 : feed;
  return {end, feed + 1};
}

// Splits an entity into its header fields and the offset of its body. An
// entity without an empty line is all headers when it looks like them.
std::pair<Headers, qsizetype> parseHeaders(const QByteArray& entity) {
  Headers headers;
  qsizetype at = 0;
  while (at < entity.size()) {
    const auto [end, next] = lineAt(entity, at);
    if (end == at) return {headers, next};  // the empty line
    const QByteArray line = entity.mid(at, end - at);
    if ((line[0] == ' ' || line[0] == '\t') && !headers.fields.isEmpty()) {
      headers.fields.back().second += ' ' + line.trimmed();
    } else {
      const qsizetype colon = line.indexOf(':');
      if (colon <= 0) return {Headers{}, 0};  // not a header: no headers at all
      headers.fields.append({line.left(colon).trimmed().toLower(), line.mid(colon + 1).trimmed()});
    }
    at = next;
  }
  return {headers, entity.size()};
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Quoted-printable: "=XX" is a byte, "=" at a line's end joins the lines,
// blanks before a line break were added in transport. A "=" that starts
// neither is kept as it stands.
QByteArray decodeQuotedPrintable(const QByteArray& text) {
  QByteArray out;
  out.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '=') {
      qsizetype j = i + 1;
      while (j < text.size() && (text[j] == ' ' || text[j] == '\t')) ++j;
      if (j == text.size()) break;
      if (text[j] == '\n' || (text[j] == '\r' && j + 1 < text.size() && text[j + 1] == '\n')) {
        i = text[j] == '\r' ? j + 1 : j;
        continue;
      }
      if (i + 2 < text.size() && hexDigit(text[i + 1]) >= 0 && hexDigit(text[i + 2]) >= 0) {
        out += static_cast<char>(hexDigit(text[i + 1]) * 16 + hexDigit(text[i + 2]));
        i += 2;
        continue;
      }
      out += c;
    } else if (c == '\r' || c == '\n') {
      while (!out.isEmpty() && (out.back() == ' ' || out.back() == '\t')) out.chop(1);
      out += c;
    } else {
      out += c;
    }
  }
  return out;
}

std::optional<QByteArray> decodeBody(const QByteArray& encoding, const QByteArray& body) {
  if (encoding.isEmpty() || encoding == "7bit" || encoding == "8bit" || encoding == "binary")
    return body;
  if (encoding == "quoted-printable") return decodeQuotedPrintable(body);
  if (encoding == "base64") {
    QByteArray compact;
    compact.reserve(body.size());
    for (const char c : body)
      if (c != '\r' && c != '\n' && c != ' ' && c != '\t') compact += c;
    auto decoded = QByteArray::fromBase64Encoding(compact, QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded) return std::nullopt;
    return *decoded;
  }
  return std::nullopt;
}

// The bodies between the delimiter lines "--boundary" of a multipart body,
// up to "--boundary--" or the end. The line break before a delimiter
// belongs to it.
QList<QByteArray> splitMultipart(const QByteArray& body, const QByteArray& boundary) {
  const QByteArray delimiter = "--" + boundary;
  QList<QByteArray> parts;
  qsizetype partStart = -1;
  qsizetype at = 0;
  while (at < body.size()) {
    const auto [end, next] = lineAt(body, at);
    const QByteArray line = body.mid(at, end - at);
    if (line.startsWith(delimiter)) {
      const QByteArray rest = line.mid(delimiter.size()).trimmed();
      if (rest.isEmpty() || rest == "--") {
        if (partStart >= 0) {
          qsizetype partEnd = at;
          if (partEnd > partStart && body[partEnd - 1] == '\n') --partEnd;
          if (partEnd > partStart && body[partEnd - 1] == '\r') --partEnd;
          parts.append(body.mid(partStart, partEnd - partStart));
        }
        if (rest == "--") return parts;
        partStart = next;
      }
    }
    at = next;
  }
  if (partStart >= 0 && partStart < body.size()) parts.append(body.mid(partStart));
  return parts;
}

struct Reader {
  WebArchive archive;
  QUrl base;
  // The root candidates of the outermost multipart.
  QByteArray startId;
  QByteArray rootType;
  bool sawUndecodableRoot = false;

  void readEntity(const QByteArray& entity, int depth) {
    const auto [headers, bodyStart] = parseHeaders(entity);
    const HeaderValue type = parseHeaderValue(headers.value("content-type"));
    const QByteArray body = entity.mid(bodyStart);
    if (type.main.startsWith("multipart/")) {
      const QByteArray boundary = type.parameter("boundary");
      if (boundary.isEmpty() || depth >= kMaxDepth) return;
      for (const QByteArray& part : splitMultipart(body, boundary)) readEntity(part, depth + 1);
      return;
    }
    const std::optional<QByteArray> decoded =
        decodeBody(headers.value("content-transfer-encoding").trimmed().toLower(), body);
    const bool html = type.main == "text/html";
    if (!decoded) {
      if (html) sawUndecodableRoot = true;
      return;
    }
    ArchivePart part;
    part.contentType = type.main.isEmpty() ? QStringLiteral("text/plain")
                                           : QString::fromLatin1(type.main);
    part.charset = QString::fromLatin1(type.parameter("charset")).toLower();
    const QByteArray location = headers.value("content-location");
    if (!location.isEmpty()) part.location = base.resolved(QUrl(QString::fromUtf8(location)));
    QByteArray id = headers.value("content-id");
    if (id.startsWith('<') && id.endsWith('>')) id = id.mid(1, id.size() - 2);
    part.contentId = QString::fromUtf8(id);
    part.body = *decoded;
    archive.parts.append(part);
  }

  std::optional<qsizetype> chooseRoot() const {
    const auto isHtml = [&](qsizetype i) { return archive.parts[i].contentType == u"text/html"; };
    QString start = QString::fromUtf8(startId);
    if (start.startsWith(u'<') && start.endsWith(u'>')) start = start.mid(1, start.size() - 2);
    for (qsizetype i = 0; !start.isEmpty() && i < archive.parts.size(); ++i)
      if (archive.parts[i].contentId == start && isHtml(i)) return i;
    for (qsizetype i = 0; !rootType.isEmpty() && i < archive.parts.size(); ++i)
      if (archive.parts[i].contentType == QString::fromLatin1(rootType) && isHtml(i)) return i;
    for (qsizetype i = 0; i < archive.parts.size(); ++i)
      if (isHtml(i)) return i;
    return std::nullopt;
  }
};

bool looksLikeHtml(const QByteArray& bytes) {
  QByteArray start = bytes.left(512);
  if (start.startsWith("\xef\xbb\xbf")) start = start.mid(3);
  return start.trimmed().startsWith('<');
}

}  // namespace

std::variant<WebArchive, ArchiveError> readWebArchive(const QByteArray& bytes) {
  if (bytes.trimmed().isEmpty()) return ArchiveError{QStringLiteral("it is empty")};
  const auto [headers, bodyStart] = parseHeaders(bytes);
  if (headers.value("content-type").isEmpty()) {
    if (!looksLikeHtml(bytes))
      return ArchiveError{QStringLiteral("it is not a web archive: it has no MIME header")};
    WebArchive page;
    page.parts.append({QStringLiteral("text/html"), QString(), QUrl(), QString(), bytes});
    return page;
  }

  Reader reader;
  const HeaderValue type = parseHeaderValue(headers.value("content-type"));
  if (type.main.startsWith("multipart/") && type.parameter("boundary").isEmpty())
    return ArchiveError{QStringLiteral("its parts have no boundary")};
  QByteArray base = headers.value("content-base");
  if (base.isEmpty()) base = headers.value("content-location");
  reader.base = QUrl(QString::fromUtf8(base));
  reader.startId = type.parameter("start");
  reader.rootType = type.parameter("type").toLower();
  reader.readEntity(bytes, 0);

  const std::optional<qsizetype> root = reader.chooseRoot();
  if (!root)
    return ArchiveError{reader.sawUndecodableRoot
                            ? QStringLiteral("its HTML page cannot be decoded")
                            : QStringLiteral("it holds no HTML page")};
  reader.archive.root = *root;
  return reader.archive;
}

QUrl partUrl(const WebArchive& archive, qsizetype index) {
  const ArchivePart& part = archive.parts[index];
  if (!part.location.isEmpty()) return part.location;
  if (!part.contentId.isEmpty()) return QUrl(QStringLiteral("cid:") + part.contentId);
  return QUrl(QStringLiteral("mhtml:/part%1").arg(index));
}

const ArchivePart* findPart(const WebArchive& archive, const QUrl& url) {
  const QUrl wanted = url.adjusted(QUrl::RemoveFragment);
  if (wanted.scheme() == u"cid") {
    const QString id = wanted.path();
    for (const ArchivePart& part : archive.parts)
      if (part.contentId == id) return &part;
  }
  for (qsizetype i = 0; i < archive.parts.size(); ++i)
    if (partUrl(archive, i).adjusted(QUrl::RemoveFragment) == wanted) return &archive.parts[i];
  return nullptr;
}

QString partText(const ArchivePart& part) {
  if (!part.charset.isEmpty()) {
    QStringDecoder decoder(part.charset.toLatin1().constData());
    if (decoder.isValid()) return decoder.decode(part.body);
  }
  if (part.contentType == u"text/html") {
    QStringDecoder decoder = QStringDecoder::decoderForHtml(part.body);
    if (decoder.isValid()) return decoder.decode(part.body);
  }
  return QString::fromUtf8(part.body);
}

}  // namespace frontend
