#include "window/main_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QUrl>

#include "encoding/gb18030.h"
#include "pipeline/summarize.h"
#include "samples/builtin_texts.h"

namespace sumvelo {
namespace {

QString FromUtf8(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string ToUtf8(const QString& text) { return text.toUtf8().toStdString(); }

// Songti is a Windows font; on other systems the first installed CJK family takes its place.
const QStringList kSummaryFamilies = {"宋体", "SimSun", "Noto Serif CJK SC", "Noto Sans CJK SC",
                                      "WenQuanYi Micro Hei"};
const QStringList kInfoFamilies = {"Arial", "Liberation Sans", "Noto Sans CJK SC",
                                   "WenQuanYi Micro Hei"};

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption, QRect place) {
  auto* b = new QPushButton(QString::fromUtf8(caption), parent);
  b->setObjectName(QString::fromUtf8(name));
  b->setGeometry(place);
  return b;
}

// Labels show their text as it is and let clicks through to what lies below them (标签1 covers
// part of 组合框1).
QLabel* MakeLabel(QWidget* parent, const char* name, QRect place) {
  auto* l = new QLabel(parent);
  l->setObjectName(QString::fromUtf8(name));
  l->setTextFormat(Qt::PlainText);
  l->setGeometry(place);
  l->setAttribute(Qt::WA_TransparentForMouseEvents);
  return l;
}

QPlainTextEdit* MakeTextBox(QWidget* parent, const char* name, QRect place) {
  auto* e = new QPlainTextEdit(parent);
  e->setObjectName(QString::fromUtf8(name));
  e->setGeometry(place);
  e->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  e->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  e->setTabChangesFocus(true);
  return e;
}

// The text of a multi-line box with every paragraph and line separator as "\n".
QString PlainText(const QPlainTextEdit* box) {
  QString text = box->document()->toRawText();
  text.replace(QChar::ParagraphSeparator, u'\n');
  text.replace(QChar::LineSeparator, u'\n');
  return text;
}

}  // namespace

MainWindow::MainWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
  setWindowTitle(QStringLiteral("Sumvelov1.1"));
  setFixedSize(kOuterWidth, kOuterHeight);

  // Created in the form's order; positions are client coordinates.
  按钮3_ = MakeButton(this, "按钮3", "例文三 英文", {144, 312, 104, 24});
  按钮2_ = MakeButton(this, "按钮2", "例文二 4千字", {8, 312, 104, 24});
  标签2_ = MakeLabel(this, "标签2", {360, 8, 160, 24});
  摘要_ = MakeButton(this, "摘要", "开始摘要", {613, 8, 96, 24});

  组合框1_ = new QComboBox(this);
  组合框1_->setObjectName(QStringLiteral("组合框1"));
  组合框1_->setEditable(false);
  组合框1_->addItems({"<200字", "<300字", "<400字", "<500字"});
  组合框1_->setCurrentIndex(0);
  组合框1_->setGeometry(530, 10, 80, 20);

  标签4_ = MakeLabel(this, "标签4", {472, 496, 240, 24});
  QFont infoFont;
  infoFont.setFamilies(kInfoFamilies);
  infoFont.setPixelSize(12);
  标签4_->setFont(infoFont);
  标签4_->setText(FromUtf8(samples::InfoLabelText()));

  标签3_ = MakeLabel(this, "标签3", {9, 497, 471, 24});
  标签3_->setEnabled(false);
  // Disabled, yet it carries the keywords: a darker grey than the default keeps them legible.
  QPalette keywordColours = 标签3_->palette();
  keywordColours.setColor(QPalette::Disabled, QPalette::WindowText, QColor(96, 96, 96));
  标签3_->setPalette(keywordColours);
  按钮1_ = MakeButton(this, "按钮1", "清空", {304, 8, 48, 24});
  标签1_ = MakeLabel(this, "标签1", {544, 8, 56, 24});

  标题框_ = new QLineEdit(this);
  标题框_->setObjectName(QStringLiteral("标题框"));
  标题框_->setGeometry(8, 8, 288, 24);

  编辑框1_ = MakeTextBox(this, "编辑框1", {8, 344, 704, 152});
  编辑框1_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  QFont summaryFont;
  summaryFont.setFamilies(kSummaryFamilies);
  summaryFont.setPixelSize(14);
  summaryFont.setWeight(QFont::Normal);
  编辑框1_->setFont(summaryFont);
  QPalette summaryColours = 编辑框1_->palette();
  summaryColours.setColor(QPalette::Text, QColor(128, 0, 0));
  编辑框1_->setPalette(summaryColours);

  内容框_ = MakeTextBox(this, "内容框", {8, 40, 704, 264});
  内容框_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  内容框_->viewport()->installEventFilter(this);

  // Keyboard focus follows the layout: the top row left to right, the body, the sample
  // buttons, the summary.
  setTabOrder(标题框_, 按钮1_);
  setTabOrder(按钮1_, 组合框1_);
  setTabOrder(组合框1_, 摘要_);
  setTabOrder(摘要_, 内容框_);
  setTabOrder(内容框_, 按钮2_);
  setTabOrder(按钮2_, 按钮3_);
  setTabOrder(按钮3_, 编辑框1_);

  connect(摘要_, &QPushButton::clicked, this, &MainWindow::Summarize);
  connect(按钮2_, &QPushButton::clicked, this, &MainWindow::LoadSampleTwo);
  connect(按钮3_, &QPushButton::clicked, this, &MainWindow::LoadSampleThree);
  connect(按钮1_, &QPushButton::clicked, this, &MainWindow::ClearFields);

  const samples::Article& article = samples::DefaultArticle();
  WriteControlText(Control::标题框, encoding::TitleToEngine(article.headline));
  WriteControlText(Control::内容框, encoding::BodyToEngine(article.body));
  WriteControlText(Control::标签3, InitialKeywordCaption());
  FitFrameAndCentre();
}

MainWindow::~MainWindow() = default;

void MainWindow::Summarize() {
  if (closed_) return;
  try {
    sumvelo::Summarize(workspace_);
  } catch (const RunAbandoned&) {
    // The window was closed under the run; the program is ending.
  }
}

void MainWindow::LoadSampleTwo() {
  const samples::Article& article = samples::SampleTwo();
  WriteControlText(Control::标题框, encoding::TitleToEngine(article.headline));
  WriteControlText(Control::编辑框1, ByteText());
  WriteControlText(Control::内容框, encoding::BodyToEngine(article.body));
}

void MainWindow::LoadSampleThree() {
  const samples::Article& article = samples::SampleThree();
  WriteControlText(Control::标题框, encoding::TitleToEngine(article.headline));
  WriteControlText(Control::内容框, encoding::BodyToEngine(article.body));
  WriteControlText(Control::编辑框1, ByteText());
}

void MainWindow::ClearFields() {
  for (Control c : {Control::内容框, Control::编辑框1, Control::标题框, Control::标签1,
                    Control::标签2, Control::标签3}) {
    WriteControlText(c, ByteText());
  }
}

bool MainWindow::LoadBodyFile(const QString& path) {
  const QString name = QFileInfo(path).fileName();
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    QMessageBox::warning(this, QStringLiteral("无法打开文件"),
                         QStringLiteral("无法读取“%1”：%2").arg(name, file.errorString()));
    return false;
  }
  std::string bytes = file.readAll().toStdString();
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.erase(0, 3);

  std::string utf8;
  bool isText = bytes.find('\0') == std::string::npos;
  if (isText && !encoding::FindInvalidUtf8(bytes)) {
    utf8 = std::move(bytes);
  } else if (isText && !encoding::FindInvalidGb18030(bytes)) {
    utf8 = encoding::Gb18030ToUtf8(bytes);
  } else {
    isText = false;
  }
  if (!isText) {
    QMessageBox::warning(
        this, QStringLiteral("无法载入文件"),
        QStringLiteral("“%1”既不是 UTF-8 文本，也不是 GBK/GB18030 文本，未载入。内容框保持原样。")
            .arg(name));
    return false;
  }
  WriteControlText(Control::内容框, encoding::BodyToEngine(utf8));
  return true;
}

QString MainWindow::ShownText(Control c) const {
  switch (c) {
    case Control::内容框: return PlainText(内容框_);
    case Control::编辑框1: return PlainText(编辑框1_);
    case Control::标题框: return 标题框_->text();
    case Control::标签1: return 标签1_->text();
    case Control::标签2: return 标签2_->text();
    case Control::标签3: return 标签3_->text();
  }
  return {};
}

void MainWindow::SetShownText(Control c, const QString& text) {
  switch (c) {
    case Control::内容框: 内容框_->setPlainText(text); break;
    case Control::编辑框1: 编辑框1_->setPlainText(text); break;
    case Control::标题框: 标题框_->setText(text); break;
    case Control::标签1: 标签1_->setText(text); break;
    case Control::标签2: 标签2_->setText(text); break;
    case Control::标签3: 标签3_->setText(text); break;
  }
}

ByteText MainWindow::ReadControlText(Control c) {
  const QString shown = ShownText(c);
  const Written& last = written_[static_cast<int>(c)];
  if (last.valid && last.shown == shown) return last.bytes;
  const std::string utf8 = ToUtf8(shown);
  return c == Control::标题框 ? encoding::TitleToEngine(utf8) : encoding::BodyToEngine(utf8);
}

void MainWindow::WriteControlText(Control c, const ByteText& text) {
  SetShownText(c, FromUtf8(encoding::FromEngine(text)));
  written_[static_cast<int>(c)] = {true, ShownText(c), text};
}

int MainWindow::ReadSelectedIndex() { return 组合框1_->currentIndex(); }

void MainWindow::ProcessPendingEvents() {
  if (!closed_) QCoreApplication::processEvents(QEventLoop::AllEvents);
  if (closed_) throw RunAbandoned();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  closed_ = true;
  event->accept();
}

void MainWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  FitFrameAndCentre();
  // A window manager reports its frame only once the window is mapped.
  QTimer::singleShot(0, this, [this] {
    FitFrameAndCentre();
    frameFitted_ = true;
  });
}

// FitFrameAndCentre sizes the client area so that client and frame together measure
// kOuterWidth × kOuterHeight, and, until the window has settled after its first showing,
// centres the frame on the screen.
void MainWindow::FitFrameAndCentre() {
  const QSize margins = frameGeometry().size() - size();
  const QSize client(kOuterWidth - margins.width(), kOuterHeight - margins.height());
  if (client != size()) setFixedSize(client);
  if (frameFitted_) return;
  const QScreen* s = screen();
  if (s == nullptr) return;
  const QRect area = s->availableGeometry();
  const QSize outer = frameGeometry().size();
  move(area.x() + (area.width() - outer.width()) / 2,
       area.y() + (area.height() - outer.height()) / 2);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched != 内容框_->viewport()) return QWidget::eventFilter(watched, event);
  auto localFile = [](const QMimeData* data) -> QString {
    if (data == nullptr || !data->hasUrls() || data->urls().isEmpty()) return {};
    const QUrl url = data->urls().first();
    return url.isLocalFile() ? url.toLocalFile() : QString();
  };
  switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
      auto* drag = static_cast<QDropEvent*>(event);
      if (localFile(drag->mimeData()).isEmpty()) return false;
      drag->acceptProposedAction();
      return true;
    }
    case QEvent::Drop: {
      auto* drop = static_cast<QDropEvent*>(event);
      const QString path = localFile(drop->mimeData());
      if (path.isEmpty()) return false;
      drop->acceptProposedAction();
      LoadBodyFile(path);
      return true;
    }
    default:
      return false;
  }
}

}  // namespace sumvelo
