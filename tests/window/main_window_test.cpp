// The main window against the engine's headless run: start-up state, the four commands, commands
// nested in a run, the text crossing into the engine, file drops, focus and copying.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <chrono>
#include <functional>
#include <thread>
#include <string>
#include <utility>
#include <vector>

#include "encoding/gb18030.h"
#include "pipeline/summarize.h"
#include "samples/builtin_texts.h"
#include "window/main_window.h"
#include "tests/window/main_window_test.h"

using sumvelo::ByteText;
using sumvelo::Control;

namespace {

constexpr Control kAllControls[] = {Control::内容框, Control::标题框, Control::编辑框1,
                                    Control::标签1,  Control::标签2,  Control::标签3};

const char* NameOf(Control c) {
  switch (c) {
    case Control::内容框: return "内容框";
    case Control::标题框: return "标题框";
    case Control::编辑框1: return "编辑框1";
    case Control::标签1: return "标签1";
    case Control::标签2: return "标签2";
    case Control::标签3: return "标签3";
  }
  return "?";
}

QString Shown(const ByteText& engineBytes) {
  return QString::fromStdString(sumvelo::encoding::FromEngine(engineBytes));
}

QString Hex(const ByteText& bytes) {
  return QString::fromLatin1(QByteArray::fromStdString(bytes).toHex(' '));
}

// An article as a user would paste it: headline and body as UTF-8.
struct Article {
  std::string headline;
  std::string body;
};

// A corpus file: the first line is the headline, the rest the body.
Article CorpusArticle(const char* relative) {
  QFile f(QStringLiteral(SUMVELO_CORPUS_DIR "/") + QString::fromUtf8(relative));
  if (!f.open(QIODevice::ReadOnly)) qFatal("cannot read corpus file %s", relative);
  const std::string all = f.readAll().toStdString();
  const std::size_t cut = all.find('\n');
  return {all.substr(0, cut), all.substr(cut + 1)};
}

Article SampleArticle(const sumvelo::samples::Article& a) {
  return {std::string(a.headline), std::string(a.body)};
}

// The window with every write to a control and every event dispatch recorded; a test can run
// something inside the run's first ProcessPendingEvents.
class RecordingWindow : public sumvelo::MainWindow {
 public:
  void WriteControlText(Control c, const ByteText& text) override {
    writes.emplace_back(c, text);
    MainWindow::WriteControlText(c, text);
  }
  void ProcessPendingEvents() override {
    ++eventCalls;
    if (eventCalls == 1 && atFirstEvents) atFirstEvents();
    MainWindow::ProcessPendingEvents();
  }

  std::vector<std::pair<Control, ByteText>> writes;
  std::function<void()> atFirstEvents;
  int eventCalls = 0;
};

template <typename W = QWidget>
W* Child(QWidget& window, const char* name) {
  W* w = window.findChild<W*>(QString::fromUtf8(name));
  if (w == nullptr) qFatal("no control %s", name);
  return w;
}

void Click(QWidget& window, const char* name) {
  QTest::mouseClick(Child<QPushButton>(window, name), Qt::LeftButton);
}

// Types `text` into `box`: ASCII from the keyboard, anything else through the input method, the
// way Chinese reaches a box.
void Type(QWidget* box, const QString& text) {
  for (QChar ch : text) {
    if (ch.unicode() < 0x80) {
      QTest::keyClicks(box, QString(ch));
    } else {
      QInputMethodEvent commit;
      commit.setCommitString(QString(ch));
      QApplication::sendEvent(box, &commit);
    }
  }
}

// Puts an article into the boxes the way a paste does: straight into the widgets.
void Paste(QWidget& window, const Article& a) {
  Child<QLineEdit>(window, "标题框")->setText(QString::fromStdString(a.headline));
  Child<QPlainTextEdit>(window, "内容框")->setPlainText(QString::fromStdString(a.body));
}

// The same commands on the headless controls, for the expected outcome of nested clicks.
enum class Command { None, ClearFields, LoadSampleTwo, LoadSampleThree };

void RunHeadless(sumvelo::Controls& c, Command command) {
  using sumvelo::encoding::BodyToEngine;
  using sumvelo::encoding::TitleToEngine;
  switch (command) {
    case Command::None: break;
    case Command::ClearFields:
      for (Control k : {Control::内容框, Control::编辑框1, Control::标题框, Control::标签1,
                        Control::标签2, Control::标签3}) {
        c.WriteControlText(k, "");
      }
      break;
    case Command::LoadSampleTwo:
      c.WriteControlText(Control::标题框, TitleToEngine(sumvelo::samples::SampleTwo().headline));
      c.WriteControlText(Control::编辑框1, "");
      c.WriteControlText(Control::内容框, BodyToEngine(sumvelo::samples::SampleTwo().body));
      break;
    case Command::LoadSampleThree:
      c.WriteControlText(Control::标题框, TitleToEngine(sumvelo::samples::SampleThree().headline));
      c.WriteControlText(Control::内容框, BodyToEngine(sumvelo::samples::SampleThree().body));
      c.WriteControlText(Control::编辑框1, "");
      break;
  }
}

// The engine lets the window handle events at most every 30 ms. Waiting longer than that after
// the last dispatch (or the workspace's creation) makes the run's first chance to dispatch
// events a real one, in the window and in the headless run alike.
constexpr int kPastYieldInterval = 40;
void WaitPastYieldInterval() { QTest::qWait(kPastYieldInterval); }

// Headless controls that keep a record of every write.
class RecordingHeadless : public sumvelo::HeadlessControls {
 public:
  void WriteControlText(Control c, const ByteText& text) override {
    if (recording) writes.emplace_back(c, text);
    HeadlessControls::WriteControlText(c, text);
  }
  bool recording = false;
  std::vector<std::pair<Control, ByteText>> writes;
};

// The engine's headless run on the same GB18030 texts, with `nested` run inside its first
// ProcessPendingEvents.
struct Headless {
  RecordingHeadless controls;
  std::optional<sumvelo::TextLanguage> language;
};

std::unique_ptr<Headless> HeadlessRun(const Article& a, int index,
                                      Command nested = Command::None) {
  auto h = std::make_unique<Headless>();
  h->controls.WriteControlText(Control::标题框, sumvelo::encoding::TitleToEngine(a.headline));
  h->controls.WriteControlText(Control::内容框, sumvelo::encoding::BodyToEngine(a.body));
  h->controls.SetSelectedIndex(index);
  int calls = 0;
  h->controls.SetEventHook([&calls, nested](sumvelo::HeadlessControls& c) {
    if (++calls == 1) RunHeadless(c, nested);
  });
  sumvelo::Workspace ws(h->controls);
  if (nested != Command::None) {
    std::this_thread::sleep_for(std::chrono::milliseconds(kPastYieldInterval));
  }
  h->controls.recording = true;
  h->language = sumvelo::Summarize(ws);
  h->controls.recording = false;
  h->controls.SetEventHook({});
  return h;
}

// Every control of the window holds what the headless run left, as bytes and on screen.
void ExpectSameAsHeadless(RecordingWindow& w, const sumvelo::HeadlessControls& h) {
  for (Control c : kAllControls) {
    const ByteText got = w.ReadControlText(c);
    const ByteText want = h.Text(c);
    if (got != want) {
      QFAIL(qPrintable(QStringLiteral("%1 differs:\n window   %2\n headless %3")
                           .arg(NameOf(c), Hex(got).left(600), Hex(want).left(600))));
    }
  }
  QCOMPARE(Child<QPlainTextEdit>(w, "编辑框1")->toPlainText(), Shown(h.Text(Control::编辑框1)));
  QCOMPARE(Child<QLabel>(w, "标签2")->text(), Shown(h.Text(Control::标签2)));
  QCOMPARE(Child<QLabel>(w, "标签3")->text(), Shown(h.Text(Control::标签3)));
}

bool IsLengthLine(const QString& s) {
  return s.startsWith(QStringLiteral("原文")) && s.contains(QStringLiteral("字，摘要")) &&
         s.endsWith(QStringLiteral("字"));
}

}  // namespace

Q_DECLARE_METATYPE(Command)
Q_DECLARE_METATYPE(sumvelo::TextLanguage)


void MainWindowTest::startUpControls_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("kind");
  QTest::addColumn<QRect>("place");
  QTest::addColumn<QString>("text");
  QTest::addColumn<bool>("enabled");

  const auto& d = sumvelo::samples::DefaultArticle();
  const QString headline = QString::fromStdString(
      sumvelo::encoding::FromEngine(sumvelo::encoding::TitleToEngine(d.headline)));
  const QString body = QString::fromStdString(
      sumvelo::encoding::FromEngine(sumvelo::encoding::BodyToEngine(d.body)));
  const QString info = QString::fromUtf8(sumvelo::samples::InfoLabelText().data(),
                                         sumvelo::samples::InfoLabelText().size());
  struct Row {
    const char* name;
    const char* kind;
    QRect place;
    QString text;
    bool enabled;
  };
  const Row rows[] = {
      {"按钮3", "QPushButton", {144, 312, 104, 24}, "例文三 英文", true},
      {"按钮2", "QPushButton", {8, 312, 104, 24}, "例文二 4千字", true},
      {"标签2", "QLabel", {360, 8, 160, 24}, "", true},
      {"摘要", "QPushButton", {613, 8, 96, 24}, "开始摘要", true},
      {"组合框1", "QComboBox", {530, 10, 80, 20}, "<200字", true},
      {"标签4", "QLabel", {472, 496, 240, 24}, info, true},
      {"标签3", "QLabel", {9, 497, 471, 24}, "关键词：  ", false},
      {"按钮1", "QPushButton", {304, 8, 48, 24}, "清空", true},
      {"标签1", "QLabel", {544, 8, 56, 24}, "", true},
      {"标题框", "QLineEdit", {8, 8, 288, 24}, headline, true},
      {"编辑框1", "QPlainTextEdit", {8, 344, 704, 152}, "", true},
      {"内容框", "QPlainTextEdit", {8, 40, 704, 264}, body, true},
  };
  for (const Row& r : rows) {
    QTest::newRow(r.name) << QString::fromUtf8(r.name) << r.kind << r.place << r.text << r.enabled;
  }
}

void MainWindowTest::startUpControls() {
  QFETCH(QString, name);
  QFETCH(QString, kind);
  QFETCH(QRect, place);
  QFETCH(QString, text);
  QFETCH(bool, enabled);

  RecordingWindow w;
  w.show();
  QVERIFY(QTest::qWaitForWindowExposed(&w));
  QWidget* c = w.findChild<QWidget*>(name);
  QVERIFY(c != nullptr);
  QCOMPARE(c->metaObject()->className(), kind);
  QCOMPARE(c->geometry(), place);
  QCOMPARE(c->isEnabled(), enabled);
  QVERIFY(c->isVisible());

  QString shown;
  if (auto* b = qobject_cast<QPushButton*>(c)) shown = b->text();
  if (auto* l = qobject_cast<QLabel*>(c)) {
    shown = l->text();
    QCOMPARE(l->textFormat(), Qt::PlainText);
    QCOMPARE(l->focusPolicy(), Qt::NoFocus);
  }
  if (auto* e = qobject_cast<QLineEdit*>(c)) {
    shown = e->text();
    QVERIFY(!e->isReadOnly());
  }
  if (auto* e = qobject_cast<QPlainTextEdit*>(c)) {
    shown = e->toPlainText();
    QVERIFY(!e->isReadOnly());
    QCOMPARE(e->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    QCOMPARE(e->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(e->verticalScrollBarPolicy(),
             name == "内容框" ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  }
  if (auto* box = qobject_cast<QComboBox*>(c)) {
    shown = box->currentText();
    QVERIFY(!box->isEditable());
    QCOMPARE(box->currentIndex(), 0);
    QStringList items;
    for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
    QCOMPARE(items, (QStringList{"<200字", "<300字", "<400字", "<500字"}));
  }
  QCOMPARE(shown, text);
}

void MainWindowTest::startUpWindow() {
  RecordingWindow w;
  w.show();
  QVERIFY(QTest::qWaitForWindowExposed(&w));
  QTest::qWait(20);  // lets the window settle its frame after the first showing

  QCOMPARE(w.windowTitle(), QStringLiteral("Sumvelov1.1"));
  QCOMPARE(w.frameGeometry().size(), QSize(722, 549));
  QCOMPARE(w.minimumSize(), w.maximumSize());
  const QRect area = w.screen()->availableGeometry();
  QVERIFY2(qAbs(w.frameGeometry().center().x() - area.center().x()) <= 1 &&
               qAbs(w.frameGeometry().center().y() - area.center().y()) <= 1,
           "the window opens centred on the screen");
  const Qt::WindowFlags flags = w.windowFlags();
  QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
  QVERIFY(flags.testFlag(Qt::WindowTitleHint));
  QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
  QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));

  // Every control lies inside the client area.
  for (QWidget* c : w.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    QVERIFY2(w.rect().contains(c->geometry()), qPrintable(c->objectName()));
  }

  // Reads of a fresh window give the start-up texts as the engine sees them.
  const auto& d = sumvelo::samples::DefaultArticle();
  QCOMPARE(w.ReadControlText(Control::标题框), sumvelo::encoding::TitleToEngine(d.headline));
  QCOMPARE(w.ReadControlText(Control::内容框), sumvelo::encoding::BodyToEngine(d.body));
  QCOMPARE(w.ReadControlText(Control::标签3), sumvelo::InitialKeywordCaption());
  for (Control c : {Control::编辑框1, Control::标签1, Control::标签2}) {
    QCOMPARE(w.ReadControlText(c), ByteText());
  }
  QCOMPARE(w.ReadSelectedIndex(), 0);
}

void MainWindowTest::startUpFonts() {
  RecordingWindow w;
  auto* summary = Child<QPlainTextEdit>(w, "编辑框1");
  QCOMPARE(summary->font().families().value(0), QStringLiteral("宋体"));
  QCOMPARE(summary->font().pixelSize(), 14);
  QCOMPARE(summary->font().weight(), QFont::Normal);
  QCOMPARE(summary->palette().color(QPalette::Active, QPalette::Text), QColor(128, 0, 0));
  QCOMPARE(summary->palette().color(QPalette::Inactive, QPalette::Text), QColor(128, 0, 0));

  auto* info = Child<QLabel>(w, "标签4");
  QCOMPARE(info->font().families().value(0), QStringLiteral("Arial"));
  QCOMPARE(info->font().pixelSize(), 12);

  // Where Songti is missing, an installed Chinese font draws the summary.
  const QString used = QFontInfo(summary->font()).family();
  const QStringList chinese = {"宋体", "SimSun", "Noto Serif CJK SC", "Noto Sans CJK SC",
                               "WenQuanYi Micro Hei"};
  QVERIFY2(chinese.contains(used), qPrintable("summary drawn with " + used));
  QVERIFY(QFontMetrics(summary->font()).inFont(QChar(u'摘')));
}

void MainWindowTest::commandsWriteInOrder_data() {
  QTest::addColumn<QString>("button");
  QTest::addColumn<QList<int>>("order");
  auto order = [](std::initializer_list<Control> cs) {
    QList<int> l;
    for (Control c : cs) l << static_cast<int>(c);
    return l;
  };
  QTest::newRow("例文二") << "按钮2" << order({Control::标题框, Control::编辑框1, Control::内容框});
  QTest::newRow("例文三") << "按钮3" << order({Control::标题框, Control::内容框, Control::编辑框1});
  QTest::newRow("清空") << "按钮1"
                      << order({Control::内容框, Control::编辑框1, Control::标题框, Control::标签1,
                                Control::标签2, Control::标签3});
}

void MainWindowTest::commandsWriteInOrder() {
  QFETCH(QString, button);
  QFETCH(QList<int>, order);
  RecordingWindow w;
  Click(w, button.toUtf8().constData());
  QList<int> got;
  for (const auto& [c, text] : w.writes) got << static_cast<int>(c);
  QCOMPARE(got, order);

  // What was written is what the controls now hold.
  using sumvelo::encoding::BodyToEngine;
  using sumvelo::encoding::TitleToEngine;
  const sumvelo::samples::Article* sample = button == "按钮2"   ? &sumvelo::samples::SampleTwo()
                                            : button == "按钮3" ? &sumvelo::samples::SampleThree()
                                                                : nullptr;
  QCOMPARE(w.ReadControlText(Control::标题框),
           sample ? TitleToEngine(sample->headline) : ByteText());
  QCOMPARE(w.ReadControlText(Control::内容框), sample ? BodyToEngine(sample->body) : ByteText());
  QCOMPARE(w.ReadControlText(Control::编辑框1), ByteText());
  QCOMPARE(Child<QPlainTextEdit>(w, "内容框")->toPlainText(),
           sample ? QString::fromUtf8(sample->body.data(), sample->body.size()) : QString());
}

void MainWindowTest::summarizeMatchesHeadless_data() {
  QTest::addColumn<QString>("button");  // empty: summarize what the boxes hold
  QTest::addColumn<bool>("paste");
  QTest::addColumn<QString>("corpus");
  QTest::addColumn<sumvelo::TextLanguage>("language");
  using L = sumvelo::TextLanguage;
  QTest::newRow("default article") << "" << false << "" << L::Chinese;
  QTest::newRow("例文二") << "按钮2" << false << "" << L::Chinese;
  QTest::newRow("例文三") << "按钮3" << false << "" << L::English;
  QTest::newRow("pasted Chinese") << "" << true << "zh/0008.txt" << L::Chinese;
  QTest::newRow("pasted English") << "" << true << "en/0001.txt" << L::English;
  QTest::newRow("pasted Debian prose") << "" << true << "debian-zh/0001.txt" << L::Chinese;
}

void MainWindowTest::summarizeMatchesHeadless() {
  QFETCH(QString, button);
  QFETCH(bool, paste);
  QFETCH(QString, corpus);
  QFETCH(sumvelo::TextLanguage, language);

  Article a = SampleArticle(sumvelo::samples::DefaultArticle());
  if (button == "按钮2") a = SampleArticle(sumvelo::samples::SampleTwo());
  if (button == "按钮3") a = SampleArticle(sumvelo::samples::SampleThree());
  if (paste) a = CorpusArticle(corpus.toUtf8().constData());
  QVERIFY2(!a.body.empty(), "the article has a body");
  const auto h = HeadlessRun(a, 0);
  QCOMPARE(h->language, std::optional(language));
  QVERIFY2(!h->controls.Text(Control::编辑框1).empty(), "the engine writes a summary");

  RecordingWindow w;
  if (!button.isEmpty()) Click(w, button.toUtf8().constData());
  if (paste) Paste(w, a);
  Click(w, "摘要");
  ExpectSameAsHeadless(w, h->controls);
  QVERIFY(IsLengthLine(Child<QLabel>(w, "标签2")->text()));
  QVERIFY(Child<QLabel>(w, "标签3")->text().startsWith(QStringLiteral("关键词：")));

  // The tables persist between runs; a second press on the same body gives the same lines.
  Click(w, "摘要");
  ExpectSameAsHeadless(w, h->controls);
}

void MainWindowTest::samplesKeepLabelsOfLastRun() {
  RecordingWindow w;
  Paste(w, CorpusArticle("zh/0008.txt"));
  Click(w, "摘要");
  const QString stats = Child<QLabel>(w, "标签2")->text();
  const QString keywords = Child<QLabel>(w, "标签3")->text();
  QVERIFY(IsLengthLine(stats));
  for (const char* button : {"按钮2", "按钮3"}) {
    Click(w, button);
    QCOMPARE(Child<QPlainTextEdit>(w, "编辑框1")->toPlainText(), QString());
    QCOMPARE(Child<QLabel>(w, "标签2")->text(), stats);
    QCOMPARE(Child<QLabel>(w, "标签3")->text(), keywords);
  }
}

void MainWindowTest::clearThenSummarizeLeavesAllEmpty() {
  RecordingWindow w;
  Paste(w, CorpusArticle("zh/0008.txt"));
  Click(w, "摘要");  // a run first, so that there is something to clear
  QVERIFY(!Child<QLabel>(w, "标签2")->text().isEmpty());
  Click(w, "按钮1");
  Click(w, "摘要");
  for (Control c : kAllControls) {
    QVERIFY2(w.ReadControlText(c).empty(), NameOf(c));
  }
  for (const char* name : {"标签1", "标签2", "标签3"}) {
    QVERIFY2(Child<QLabel>(w, name)->text().isEmpty(), name);
  }
  QVERIFY(Child<QLineEdit>(w, "标题框")->text().isEmpty());
  QVERIFY(Child<QPlainTextEdit>(w, "内容框")->toPlainText().isEmpty());
  QVERIFY(Child<QPlainTextEdit>(w, "编辑框1")->toPlainText().isEmpty());
}

void MainWindowTest::lengthChoiceReachesEngine() {
  const Article a = CorpusArticle("zh/0022.txt");  // long enough for every limit to matter
  RecordingWindow w;
  Paste(w, a);
  auto* combo = Child<QComboBox>(w, "组合框1");
  std::vector<ByteText> summaries;
  for (int index = 0; index < 4; ++index) {
    // Picked as a user does: from the keyboard, one item further down.
    if (index > 0) {
      combo->setFocus();
      QTest::keyClick(combo, Qt::Key_Down);
    }
    QCOMPARE(combo->currentIndex(), index);
    QCOMPARE(w.ReadSelectedIndex(), index);
    Click(w, "摘要");
    const auto h = HeadlessRun(a, index);
    ExpectSameAsHeadless(w, h->controls);
    const ByteText summary = w.ReadControlText(Control::编辑框1);
    QVERIFY(static_cast<int>(summary.size()) <= 2 * (200 + 100 * index));
    summaries.push_back(summary);
  }
  QVERIFY2(summaries.front().size() < summaries.back().size(),
           "a longer limit gives a longer summary on this article");
}

void MainWindowTest::commandQueuedDuringRun_data() {
  QTest::addColumn<QString>("button");
  QTest::addColumn<Command>("command");
  QTest::newRow("清空") << "按钮1" << Command::ClearFields;
  QTest::newRow("例文二") << "按钮2" << Command::LoadSampleTwo;
  QTest::newRow("例文三") << "按钮3" << Command::LoadSampleThree;
}

void MainWindowTest::commandQueuedDuringRun() {
  QFETCH(QString, button);
  QFETCH(Command, command);
  const Article a = CorpusArticle("zh/0008.txt");
  const auto h = HeadlessRun(a, 0, command);

  RecordingWindow w;
  Paste(w, a);
  bool inRun = false, handledInRun = false;
  auto* b = Child<QPushButton>(w, button.toUtf8().constData());
  QObject::connect(b, &QPushButton::clicked, &w, [&] { handledInRun = inRun; });
  // The click waits in the queue until the run lets the window handle events.
  w.atFirstEvents = [b] { QMetaObject::invokeMethod(b, &QPushButton::click, Qt::QueuedConnection); };
  WaitPastYieldInterval();
  inRun = true;
  Click(w, "摘要");
  inRun = false;
  QVERIFY2(handledInRun, "the click is handled inside the run");

  // The run completed over what the command left: its summary and keyword line are written
  // over, and the length line counts the body as it is at the end.
  ExpectSameAsHeadless(w, h->controls);
  QVERIFY(!w.ReadControlText(Control::编辑框1).empty());
  const ByteText bodyAtEnd = w.ReadControlText(Control::内容框);
  QCOMPARE(w.ReadControlText(Control::标签2),
           sumvelo::LengthLine(static_cast<int>(bodyAtEnd.size()),
                               static_cast<int>(w.ReadControlText(Control::编辑框1).size())));
  if (command == Command::ClearFields) {
    QVERIFY(bodyAtEnd.empty());
    QVERIFY(Child<QLabel>(w, "标签2")->text().startsWith(QStringLiteral("原文0字，摘要")));
  }
}

void MainWindowTest::secondSummarizeDuringRunIsIgnored() {
  const Article a = CorpusArticle("zh/0008.txt");
  const auto h = HeadlessRun(a, 0);

  RecordingWindow w;
  Paste(w, a);
  bool inRun = false;
  int pressesInRun = 0;
  auto* summarize = Child<QPushButton>(w, "摘要");
  QObject::connect(summarize, &QPushButton::clicked, &w, [&] { pressesInRun += inRun ? 1 : 0; });
  w.atFirstEvents = [summarize] {
    QMetaObject::invokeMethod(summarize, &QPushButton::click, Qt::QueuedConnection);
  };
  WaitPastYieldInterval();
  inRun = true;
  Click(w, "摘要");
  inRun = false;
  QCOMPARE(pressesInRun, 2);  // the outer press and the one queued inside the run

  // Only one run wrote: the window saw the very writes of one headless run, in order.
  QCOMPARE(w.writes.size(), h->controls.writes.size());
  for (std::size_t i = 0; i < w.writes.size(); ++i) {
    QCOMPARE(NameOf(w.writes[i].first), NameOf(h->controls.writes[i].first));
    QCOMPARE(Hex(w.writes[i].second), Hex(h->controls.writes[i].second));
  }
  ExpectSameAsHeadless(w, h->controls);
}

void MainWindowTest::progressShownDuringRun_data() {
  QTest::addColumn<QString>("corpus");
  QTest::addColumn<bool>("chinese");
  QTest::newRow("Chinese") << "zh/0008.txt" << true;
  QTest::newRow("English") << "en/0001.txt" << false;
}

void MainWindowTest::progressShownDuringRun() {
  QFETCH(QString, corpus);
  QFETCH(bool, chinese);
  RecordingWindow w;
  w.show();
  QVERIFY(QTest::qWaitForWindowExposed(&w));
  Paste(w, CorpusArticle(corpus.toUtf8().constData()));
  Click(w, "摘要");

  // Progress texts, a whole number and "%", precede the length line.
  QStringList stats;
  for (const auto& [c, text] : w.writes) {
    if (c == Control::标签2) stats << Shown(text);
  }
  QVERIFY(stats.size() >= 2);
  QVERIFY(IsLengthLine(stats.last()));
  for (int i = 0; i + 1 < stats.size(); ++i) {
    const QString& p = stats[i];
    bool whole = false;
    const int percent = p.left(p.size() - 1).toInt(&whole);
    QVERIFY2(p.endsWith(u'%') && whole && percent >= 0 && percent <= 100, qPrintable(p));
  }
  if (chinese) QCOMPARE(stats[stats.size() - 2], QStringLiteral("100%"));

  // A progress text written during a run is painted at the run's next dispatch of events.
  auto* label = Child<QLabel>(w, "标签2");
  int paints = 0;
  QString paintedText;
  struct PaintSpy : QObject {
    std::function<void()> seen;
    bool eventFilter(QObject*, QEvent* e) override {
      if (e->type() == QEvent::Paint) seen();
      return false;
    }
  } spy;
  spy.seen = [&] {
    ++paints;
    paintedText = label->text();
  };
  label->installEventFilter(&spy);
  w.WriteControlText(Control::标签2, "50%");
  w.ProcessPendingEvents();
  label->removeEventFilter(&spy);
  QVERIFY(paints > 0);
  QCOMPARE(paintedText, QStringLiteral("50%"));
}

void MainWindowTest::textCrossesAsGb18030WithCrLf() {
  RecordingWindow w;
  w.show();
  QVERIFY(QTest::qWaitForWindowExposed(&w));
  auto* body = Child<QPlainTextEdit>(w, "内容框");
  body->clear();
  body->setFocus();
  Type(body, QStringLiteral("的a"));
  QTest::keyClick(body, Qt::Key_Return);
  QTest::keyClicks(body, QStringLiteral("b"));
  QTest::keyClick(body, Qt::Key_Return, Qt::ShiftModifier);  // a line break inside a paragraph
  QTest::keyClicks(body, QStringLiteral("c"));
  QTest::keyClick(body, Qt::Key_Return);
  QCOMPARE(Hex(w.ReadControlText(Control::内容框)), Hex("\xB5\xC4" "a\r\nb\r\nc\r\n"));

  // The title is the text before its first line break.
  Child<QLineEdit>(w, "标题框")->setText(QStringLiteral("头条\n第二行"));
  QCOMPARE(Hex(w.ReadControlText(Control::标题框)), Hex("\xCD\xB7\xCC\xF5"));

  // Engine text comes back with "\n" on screen and reads back unchanged, a character outside
  // GBK (four bytes in GB18030) included.
  const ByteText written = "\xD5\xAA\r\n\x94\x39\xFC\x36";  // 摘, line break, U+1F600
  w.WriteControlText(Control::编辑框1, written);
  QCOMPARE(Child<QPlainTextEdit>(w, "编辑框1")->toPlainText(), QStringLiteral("摘\n😀"));
  QCOMPARE(Hex(w.ReadControlText(Control::编辑框1)), Hex(written));
  w.WriteControlText(Control::标签2, "100%");
  QCOMPARE(Child<QLabel>(w, "标签2")->text(), QStringLiteral("100%"));

  // A user's edit is seen: typing after the engine's text changes what the engine reads.
  auto* summary = Child<QPlainTextEdit>(w, "编辑框1");
  summary->setFocus();
  summary->moveCursor(QTextCursor::End);
  QTest::keyClick(summary, Qt::Key_Return);
  QTest::keyClicks(summary, QStringLiteral("x"));
  QCOMPARE(Hex(w.ReadControlText(Control::编辑框1)), Hex(written + "\r\nx"));

  // A typed body is summarized exactly as the engine does it on the same bytes.
  const Article typed{"", "今天的天气很好。今天的天气很好吗？\n我们的城市今天的天气很好，大家都出门了。"
                          "今天的天气很好的时候，公园里的人很多。"};
  body->clear();
  body->setFocus();
  Type(body, QString::fromStdString(typed.body).section(u'\n', 0, 0));
  QTest::keyClick(body, Qt::Key_Return);
  Type(body, QString::fromStdString(typed.body).section(u'\n', 1));
  Child<QLineEdit>(w, "标题框")->clear();
  Click(w, "摘要");
  ExpectSameAsHeadless(w, HeadlessRun(typed, 0)->controls);
}

void MainWindowTest::droppedFileLoadsBody_data() {
  QTest::addColumn<QByteArray>("content");
  QTest::addColumn<QString>("expected");  // empty: refused, the box keeps its text
  const QString zh = QStringLiteral("中文的\n第二行");
  QTest::newRow("UTF-8") << zh.toUtf8() << zh;
  QTest::newRow("UTF-8 with BOM") << ("\xEF\xBB\xBF" + zh.toUtf8()) << zh;
  QTest::newRow("UTF-8 CR LF") << QByteArray("a\r\nb") << "a\nb";
  QTest::newRow("GBK") << QByteArray("\xD6\xD0\xCE\xC4\xB5\xC4\n\xB5\xDA\xB6\xFE\xD0\xD0") << zh;
  QTest::newRow("GB18030 four-byte") << QByteArray("\xB5\xC4\x94\x39\xFC\x36")
                                     << QStringLiteral("的😀");
  QTest::newRow("neither") << QByteArray("abc\xFF\xFE") << "";
  QTest::newRow("zero bytes (UTF-16)") << QByteArray("a\0b\0", 4) << "";
}

void MainWindowTest::droppedFileLoadsBody() {
  QFETCH(QByteArray, content);
  QFETCH(QString, expected);
  QTemporaryDir dir;
  const QString path = dir.filePath("article.txt");
  QFile f(path);
  QVERIFY(f.open(QIODevice::WriteOnly));
  f.write(content);
  f.close();

  RecordingWindow w;
  w.show();
  QVERIFY(QTest::qWaitForWindowExposed(&w));
  auto* body = Child<QPlainTextEdit>(w, "内容框");
  const QString before = body->toPlainText();

  // A warning, if any, is read and dismissed as soon as it opens.
  QString warning;
  QTimer watcher;
  QObject::connect(&watcher, &QTimer::timeout, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      warning = box->text();
      box->accept();
    }
  });
  watcher.start(10);

  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(path)});
  const QPoint at(100, 100);
  QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(body->viewport(), &enter);
  QVERIFY(enter.isAccepted());
  QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(body->viewport(), &drop);
  QVERIFY(drop.isAccepted());
  watcher.stop();

  if (expected.isEmpty()) {
    QCOMPARE(body->toPlainText(), before);
    QVERIFY2(warning.contains("article.txt") && warning.contains("UTF-8") &&
                 warning.contains("GBK"),
             qPrintable("warning: " + warning));
  } else {
    QCOMPARE(warning, QString());
    QCOMPARE(body->toPlainText(), expected);
  }
}

void MainWindowTest::focusFollowsLayout() {
  RecordingWindow w;
  w.show();
  QApplication::setActiveWindow(&w);
  QVERIFY(QTest::qWaitForWindowActive(&w));
  Child(w, "标题框")->setFocus();
  QStringList order{QApplication::focusWidget()->objectName()};
  for (int i = 0; i < 8; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    order << QApplication::focusWidget()->objectName();
  }
  QCOMPARE(order, (QStringList{"标题框", "按钮1", "组合框1", "摘要", "内容框", "按钮2", "按钮3",
                               "编辑框1", "标题框"}));
}

void MainWindowTest::summaryCanBeSelectedAndCopied() {
  RecordingWindow w;
  Paste(w, CorpusArticle("zh/0008.txt"));
  Click(w, "摘要");
  auto* summary = Child<QPlainTextEdit>(w, "编辑框1");
  QVERIFY(!summary->toPlainText().isEmpty());
  QVERIFY(summary->textInteractionFlags().testFlag(Qt::TextSelectableByMouse));
  QVERIFY(summary->textInteractionFlags().testFlag(Qt::TextSelectableByKeyboard));
  QApplication::clipboard()->clear();
  summary->selectAll();
  summary->copy();
  QCOMPARE(QApplication::clipboard()->text(), summary->toPlainText());
}

QTEST_MAIN(MainWindowTest)
