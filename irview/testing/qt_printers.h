// How GoogleTest prints Qt's texts in a failure: as the text itself.
#ifndef IRVIEW_TESTING_QT_PRINTERS_H_
#define IRVIEW_TESTING_QT_PRINTERS_H_

#include <QString>
#include <QStringList>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList& texts, std::ostream* out) {
  *out << '{';
  for (qsizetype i = 0; i < texts.size(); ++i) {
    if (i > 0) *out << ", ";
    PrintTo(texts[i], out);
  }
  *out << '}';
}

#endif  // IRVIEW_TESTING_QT_PRINTERS_H_
