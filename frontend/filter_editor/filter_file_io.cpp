#include "frontend/filter_editor/filter_file_io.h"

#include <QFile>
#include <QSaveFile>

namespace frontend {

namespace {
const QString kTitle = QStringLiteral("Filter File");
}

UserMessage filterFileReadMessage(const QString& path, const QString& reason) {
  return {kTitle,
          QStringLiteral("The filter file\r%1\rcannot be read: %2\rThe bands are left as they were.")
              .arg(path, reason),
          MessageIcon::Exclamation, MessageButtons::Ok};
}

UserMessage filterFileWriteMessage(const QString& path, const QString& reason) {
  return {kTitle,
          QStringLiteral("The filter file\r%1\rcannot be written: %2\rNothing was saved; the "
                         "file is as it was.")
              .arg(path, reason),
          MessageIcon::Exclamation, MessageButtons::Ok};
}

QString describeFilterFileError(const FilterFileError& error) {
  // A damaged file's control bytes would break the message into lines or
  // vanish; each shows as the replacement character instead.
  QString item;
  for (char32_t c : QString::fromUtf8(error.text.data(), qsizetype(error.text.size())).toUcs4())
    item += QChar::isPrint(c) ? QString::fromUcs4(&c, 1) : QString(QChar::ReplacementCharacter);
  switch (error.kind) {
    case FilterFileError::Kind::TooFewNumbers:
      return QStringLiteral("it holds %1 of the 20 numbers it needs (ten pairs of frequency "
                            "and gain).")
          .arg(error.numbersRead);
    case FilterFileError::Kind::NotANumber:
      return QStringLiteral("item %1 on line %2 (\"%3\") is not a number.")
          .arg(error.item)
          .arg(error.line)
          .arg(item);
    case FilterFileError::Kind::OutOfRange:
      return QStringLiteral("the number \"%3\" (item %1 on line %2) is out of range.")
          .arg(error.item)
          .arg(error.line)
          .arg(item);
  }
  return QString();
}

std::variant<FilterBands, UserMessage> loadFilterFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return filterFileReadMessage(path, file.errorString() + u'.');
  const QByteArray bytes = file.read(kFilterFileReadLimit);
  if (file.error() != QFileDevice::NoError)
    return filterFileReadMessage(path, file.errorString() + u'.');
  // Read only in part, the text must not end in a number cut at the limit
  // ("12345" read as 123).
  const bool partly = !file.atEnd();
  std::string_view text(bytes.constData(), bytes.size());
  if (partly) text = wholeItems(text);
  const FilterFileRead read = readFilterFile(text);
  if (read.bands) return *read.bands;
  QString reason = describeFilterFileError(*read.error);
  if (read.error->kind == FilterFileError::Kind::TooFewNumbers && partly)
    reason = QStringLiteral("its first %1 bytes hold %2 of the 20 numbers it needs.")
                 .arg(kFilterFileReadLimit)
                 .arg(read.error->numbersRead);
  return filterFileReadMessage(path, reason);
}

std::optional<UserMessage> saveFilterFile(const QString& path, const FilterBands& bands) {
  const std::optional<std::string> text = filterFileText(bands);
  if (!text)
    return filterFileWriteMessage(
        path, QStringLiteral("a band holds a value that is not a finite number, or a gain beyond "
                             "single precision."));
  QSaveFile file(path);
  // Beside a target that cannot be written directly (a folder without write
  // permission), no temporary file can be made either: fail, never write in
  // place.
  file.setDirectWriteFallback(false);
  if (!file.open(QIODevice::WriteOnly)) return filterFileWriteMessage(path, file.errorString() + u'.');
  if (file.write(text->data(), qint64(text->size())) != qint64(text->size())) {
    const QString reason = file.errorString();
    file.cancelWriting();
    return filterFileWriteMessage(path, reason + u'.');
  }
  if (!file.commit()) return filterFileWriteMessage(path, file.errorString() + u'.');
  return std::nullopt;
}

}  // namespace frontend
