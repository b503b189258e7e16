#include "frontend/files/browse.h"

#include "frontend/form/field_rules.h"

namespace frontend {

namespace {

const QString kWaveFilter = QStringLiteral("MS RIFF Audio File (*.WAV)|*.WAV");
const QString kTimFilter = QStringLiteral("MLSSA Imp.Resp. File (*.TIM)|*.TIM");
const QString kBkFilter = QStringLiteral(
    "2Ch. Time File (*.DTI)|*.DTI|Ch.A Time File (*.TIA)|*.TIA|Ch.B Time File (*.TIB)|*.TIB");
const QString kResultFileFilter = QStringLiteral("Veradis files (*._*)|*._*");

// The output fields are read in timwav and written in every other mode, so
// their dialogs swap kinds with the first field's.
FileDialogKind kindFor(BrowseButton button, Mode mode) {
  const bool timwav = mode == Mode::timwav;
  if (button == BrowseButton::CommWav) return timwav ? FileDialogKind::SaveAs : FileDialogKind::Open;
  return timwav ? FileDialogKind::Open : FileDialogKind::SaveAs;
}

}  // namespace

FileDialogRequest browseRequest(BrowseButton button, Mode mode, const QString& fieldText,
                                const QString& startFolder) {
  FileDialogRequest request;
  request.kind = kindFor(button, mode);
  request.startFolder = startFolder;
  switch (button) {
    case BrowseButton::CommWav:
      if (mode == Mode::bktim) {
        request.filter = kBkFilter;
        request.initialName = QStringLiteral("*.DTI");
      } else if (mode == Mode::veratim || mode == Mode::verawav) {
        request.filter = kResultFileFilter;
        request.initialName = QStringLiteral("*._*");
      } else {
        request.filter = kWaveFilter;
        request.initialName = QStringLiteral("*.WAV");
      }
      break;
    case BrowseButton::CommLeft: {
      const bool wave = mode == Mode::verawav;
      request.filter = wave ? kWaveFilter : kTimFilter;
      const bool offered = fieldText.endsWith(wave ? u"wav" : u"tim", Qt::CaseInsensitive);
      request.initialName =
          offered ? fieldText : wave ? QStringLiteral("*.WAV") : QStringLiteral("*.TIM");
      break;
    }
    case BrowseButton::CommRight:
      request.filter = kTimFilter;
      request.initialName = fieldText.isEmpty() ? QStringLiteral("*.TIM") : fieldText;
      break;
  }
  return request;
}

QString browsedFieldText(BrowseButton button, Mode mode, const QString& chosenPath,
                         Platform platform) {
  const QString name = platform == Platform::Windows ? chosenPath.toLower() : chosenPath;
  const bool wave = button == BrowseButton::CommWav ||
                    (button == BrowseButton::CommLeft && mode == Mode::verawav);
  return withExtension(name, wave ? QStringLiteral(".wav") : QStringLiteral(".tim"));
}

}  // namespace frontend
