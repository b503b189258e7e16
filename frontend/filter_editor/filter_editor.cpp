#include "frontend/filter_editor/filter_editor.h"

#include <QEventLoop>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <variant>

#include "equal_icon.xpm"
#include "frontend/filter_editor/editor_numbers.h"
#include "frontend/filter_editor/filter_file_io.h"
#include "frontend/filter_editor/response_graph.h"
#include "frontend/widgets/enter_repeats.h"
#include "frontend/widgets/select_on_focus.h"
#include "frontend/widgets/twips.h"
#include "frontend/widgets/window_look.h"

namespace frontend {

namespace {

constexpr double kSmallPointSize = 4.8;
// The classic grey of an active window's border, the window's background.
const QColor kBorderGrey(212, 208, 200);
const QString kFilterFileFilter = QStringLiteral("Filter File (*.DAT)|*.DAT");

QString arrayName(const char* name, int index) {
  return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(index);
}

void setSmallFont(QWidget* widget) {
  QFont font = widget->font();
  font.setPointSizeF(kSmallPointSize);
  font.setBold(false);
  widget->setFont(font);
}

// Tick lines on the window surface, in window twips (y, pen width): they
// show left and right of the graph, level with its grid. The one at 2496
// starts a twip later.
struct Tick {
  int y;
  int penWidth;
};
constexpr Tick kTicks[] = {{1200, 1}, {1380, 1}, {1560, 1}, {1740, 2}, {1920, 1},
                           {2100, 1}, {2280, 1}, {2496, 3}, {2700, 1}, {2880, 1},
                           {3060, 1}, {3240, 2}, {3420, 1}, {3600, 1}, {3780, 1}};

}  // namespace

FilterEditor::FilterEditor(Desktop& desktop, QString& filterFileName, QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      desktop_(desktop),
      filterFileName_(filterFileName) {
  setObjectName(QStringLiteral("equal"));
  setWindowTitle(QStringLiteral("Octave Band Equalizer"));
  setWindowIcon(QIcon(QPixmap(equal_icon_xpm)));
  setWindowModality(Qt::ApplicationModal);
  setFont(designWindowFont(font()));
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, kBorderGrey);
  setPalette(palette);
  setAutoFillBackground(true);

  buildControls();
  connectControls();
  setFixedSize(twips(0, 0, 4485, 5685).size());
  if (mainWindow) mainWindow->installEventFilter(this);

  // The opening sequence: the model starts with the standard bands, limits
  // of -50 and +50.
  // A file that cannot be read leaves these, and its name in the field.
  if (filterFileName_.isEmpty() || !loadFilterFile()) {
    for (QLineEdit* field : Text1) field->setText(QString::fromUtf16(kUntouchedBandText));
    Textfiltname->setText(filterFileName_);
  }
  showLimits();
  showPositions(BandSet());
  VScroll1[0]->setFocus();
}

QRect FilterEditor::twips(int left, int top, int width, int height) const {
  return twipsRect(left, top, width, height, logicalDpiY());
}

void FilterEditor::buildControls() {
  // The graph first, so that the sliders lie over it.
  Picture1 = new ResponseGraph(this);
  Picture1->setGeometry(twips(120, 710, 3612, 3612));

  static const char* const kCaptions[] = {"31.5", "63",   "125",  "250",  "500",
                                          "1000", "2000", "4000", "8000", "16000"};
  for (int k = 0; k < kBandCount; ++k) {
    QLabel* label = named(new QLabel(QString::fromLatin1(kCaptions[k]), this), arrayName("Label1", k));
    label->setGeometry(twips(120 + 360 * k, 180, 372, 252));
    label->setFrameStyle(QFrame::Box | QFrame::Plain);
    label->setAlignment(Qt::AlignCenter);
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Base));
    label->setPalette(palette);
    setSmallFont(label);
    Label1[k] = label;

    QLineEdit* field = named(new QLineEdit(this), arrayName("Text1", k));
    field->setGeometry(twips(120 + 360 * k, 420, k == 9 ? 372 : 380, 288));
    setSmallFont(field);
    field->setTextMargins(0, 0, 0, 0);
    selectAllOnFocus(field);
    Text1[k] = field;

    // Qt's scroll bars have their minimum at the top; the value is the
    // negated position, so that +10000 is the top end.
    QScrollBar* slider = named(new QScrollBar(Qt::Vertical, this), arrayName("VScroll1", k));
    slider->setGeometry(twips(230 + 360 * k, 720, 180, 3600));
    slider->setRange(-kTopPosition, -kBottomPosition);
    slider->setSingleStep(50);
    slider->setPageStep(300);
    slider->setTracking(false);  // a drag counts when the thumb is released
    slider->setFocusPolicy(Qt::StrongFocus);
    VScroll1[k] = slider;
  }

  Topp = named(new QLineEdit(this), QStringLiteral("Topp"));
  Topp->setGeometry(twips(3840, 840, 612, 372));
  Bottom = named(new QLineEdit(this), QStringLiteral("Bottom"));
  Bottom->setGeometry(twips(3840, 3800, 612, 372));
  for (QLineEdit* limit : {Topp, Bottom}) {
    limit->setAlignment(Qt::AlignCenter);
    limit->setTextMargins(0, 0, 0, 0);
    selectAllOnFocus(limit);
    limit->installEventFilter(this);
  }

  Frame3D1 = named(new QGroupBox(QStringLiteral("Filter File Name"), this), QStringLiteral("Frame3D1"));
  Frame3D1->setGeometry(twips(180, 4440, 4212, 732));
  Textfiltname = named(new QLineEdit(Frame3D1), QStringLiteral("Textfiltname"));
  Textfiltname->setGeometry(twips(120, 300, 2772, 372));
  Commbrowse = named(new QPushButton(QStringLiteral("Browse..."), Frame3D1), QStringLiteral("Commbrowse"));
  Commbrowse->setGeometry(twips(2880, 300, 1215, 372));

  Command3D2 = named(new QPushButton(QStringLiteral("OK - save"), this), QStringLiteral("Command3D2"));
  Command3D2->setGeometry(twips(240, 5220, 1632, 372));
  setTextColour(Command3D2, kDarkRed);
  Command3D1 = named(new QPushButton(QStringLiteral("Cancel - don't save"), this),
                     QStringLiteral("Command3D1"));
  Command3D1->setGeometry(twips(2040, 5220, 2232, 372));
  setTextColour(Command3D1, kDarkBlue);
  for (QPushButton* button : {Commbrowse, Command3D2, Command3D1}) {
    button->setAutoDefault(true);
    ignoreEnterRepeats(button);
  }

  QList<QWidget*> order = {VScroll1[0], VScroll1[1], Text1[0],   Text1[1],   Textfiltname,
                           Commbrowse,  Topp,        Bottom,     Command3D2, Command3D1};
  for (int k = 2; k < kBandCount; ++k) order.append(VScroll1[k]);
  for (int k = 2; k < kBandCount; ++k) order.append(Text1[k]);
  for (qsizetype i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

void FilterEditor::connectControls() {
  for (int k = 0; k < kBandCount; ++k) {
    connect(Text1[k], &QLineEdit::returnPressed, this, [this, k] { applyBand(k); });
    connect(VScroll1[k], &QScrollBar::valueChanged, this, [this, k] { moveSlider(k); });
  }
  connect(Topp, &QLineEdit::returnPressed, this, &FilterEditor::applyTopLimit);
  connect(Bottom, &QLineEdit::returnPressed, this, &FilterEditor::applyBottomLimit);
  connect(Textfiltname, &QLineEdit::textChanged, this,
          [this](const QString& text) { filterFileName_ = text; });
  connect(Commbrowse, &QPushButton::clicked, this, &FilterEditor::browse);
  connect(Command3D2, &QPushButton::clicked, this, &FilterEditor::save);
  connect(Command3D1, &QPushButton::clicked, this, &FilterEditor::cancel);
}

bool FilterEditor::loadFilterFile() {
  auto loaded = frontend::loadFilterFile(filterFileName_);
  if (const auto* message = std::get_if<UserMessage>(&loaded)) {
    desktop_.showMessage(*message);
    return false;
  }
  model_.load(std::get<FilterBands>(loaded));
  showLimits();
  showPositions(BandSet());
  for (int k = 0; k < kBandCount; ++k)
    Text1[k]->setText(formatEditorNumber(model_.gain(k), kLoadedBandPattern));
  Textfiltname->setText(filterFileName_);
  return true;
}

void FilterEditor::showLimits() {
  Topp->setText(formatEditorNumber(model_.topLimit(), kLimitPattern));
  Bottom->setText(formatEditorNumber(model_.bottomLimit(), kLimitPattern));
}

void FilterEditor::showPositions(BandSet moved) {
  for (int k = 0; k < kBandCount; ++k) {
    const QSignalBlocker blocker(VScroll1[k]);
    VScroll1[k]->setValue(-model_.position(k));
    if (moved[k]) Text1[k]->setText(formatEditorNumber(model_.gain(k), kBandPattern));
  }
  Picture1->setPositions(model_.positions());
}

void FilterEditor::applyBand(int band) {
  model_.applyBandValue(band, readFieldNumber(Text1[band]->text()));
  showPositions(BandSet());
  Text1[band]->setText(formatEditorNumber(model_.gain(band), kBandPattern));
}

void FilterEditor::applyTopLimit() {
  showLimitResult(model_.applyTopLimit(readFieldNumber(Topp->text())));
}

void FilterEditor::applyBottomLimit() {
  showLimitResult(model_.applyBottomLimit(readFieldNumber(Bottom->text())));
}

void FilterEditor::showLimitResult(const std::optional<BandSet>& moved) {
  if (!moved) desktop_.beep();
  showLimits();
  if (moved) showPositions(*moved);
}

void FilterEditor::moveSlider(int band) {
  if (model_.moveSlider(band, -VScroll1[band]->value())) showPositions(BandSet().set(band));
}

FileDialogRequest FilterEditor::dialogRequest(FileDialogKind kind) const {
  FileDialogRequest request;
  request.kind = kind;
  request.filter = kFilterFileFilter;
  request.initialName = filterFileName_.isEmpty() ? QStringLiteral("*.DAT") : filterFileName_;
  return request;
}

void FilterEditor::browse() {
  const std::optional<QString> chosen = desktop_.chooseFile(dialogRequest(FileDialogKind::Open));
  if (!chosen) return;
  const QString before = filterFileName_;
  filterFileName_ = *chosen;
  if (!loadFilterFile()) filterFileName_ = before;
}

void FilterEditor::save() {
  const std::optional<QString> chosen = desktop_.chooseFile(dialogRequest(FileDialogKind::SaveAs));
  if (!chosen) return;
  const QString before = filterFileName_;
  filterFileName_ = *chosen;
  if (const std::optional<UserMessage> failure = saveFilterFile(filterFileName_, model_.bands())) {
    filterFileName_ = before;
    desktop_.showMessage(*failure);
    return;
  }
  close();
}

void FilterEditor::cancel() {
  filterFileName_.clear();
  close();
}

void FilterEditor::setVisible(bool visible) {
  // Placed while the window has no frame yet: a position given then is the
  // frame's, and the window manager puts the frame there. Moved once shown,
  // the position would be that of the area inside the frame, and the frame
  // would stand a title bar higher than the main window's.
  if (visible && !placed_) {
    if (const QWidget* mainWindow = parentWidget()) {
      const QRect main = mainWindow->frameGeometry();
      move(main.left() + main.width(), main.top());
    }
  }
  QWidget::setVisible(visible);
}

void FilterEditor::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // Placed once per opening (setVisible), when it first shows, with the
  // beep. Coming back from a message box or another program does not move
  // it again.
  if (placed_) return;
  placed_ = true;
  desktop_.beep();
  Picture1->update();
}

void FilterEditor::paintEvent(QPaintEvent*) {
  // The ticks and leader lines on the window surface; the graph covers
  // their middle.
  QPainter painter(this);
  auto px = [this](int twipsValue) { return twipsToPixels(twipsValue, logicalDpiY()); };
  for (const Tick& tick : kTicks) {
    painter.setPen(QPen(Qt::black, tick.penWidth));
    painter.drawLine(px(tick.y == 2496 ? 61 : 60), px(tick.y), px(3780), px(tick.y));
  }
  painter.setPen(QPen(Qt::black, 3));
  painter.drawLine(px(60), px(1020), px(4400), px(1020));
  painter.drawLine(px(60), px(3960), px(3840), px(3960));
}

void FilterEditor::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  QWidget* mainWindow = parentWidget();
  if (event->type() != QEvent::WindowStateChange || !mainWindow) return;
  const auto old = static_cast<QWindowStateChangeEvent*>(event)->oldState();
  if (isMinimized())
    mainWindow->showMinimized();
  else if (old & Qt::WindowMinimized)
    mainWindow->showNormal();
}

bool FilterEditor::eventFilter(QObject* watched, QEvent* event) {
  if (watched == parentWidget() && event->type() == QEvent::Close) {
    close();
  } else if ((watched == Topp || watched == Bottom) && event->type() == QEvent::FocusOut) {
    // Leaving a limit field applies it, once the user has edited it since
    // the editor last wrote it; not when a menu or another window takes the
    // focus for a while.
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    auto* field = static_cast<QLineEdit*>(watched);
    if (field->isModified() && reason != Qt::PopupFocusReason &&
        reason != Qt::ActiveWindowFocusReason)
      field == Topp ? applyTopLimit() : applyBottomLimit();
  }
  return QWidget::eventFilter(watched, event);
}

void runFilterEditor(Desktop& desktop, QString& filterFileName, QWidget* mainWindow) {
  QPointer<FilterEditor> editor = new FilterEditor(desktop, filterFileName, mainWindow);
  editor->setAttribute(Qt::WA_DeleteOnClose);
  QEventLoop loop;
  QObject::connect(editor, &QObject::destroyed, &loop, &QEventLoop::quit);
  editor->show();
  if (editor) loop.exec();
}

}  // namespace frontend
