// Closing the window while a run handles events ends the run at once and the program's event
// loop with exit code 0. A program of its own, since the test ends the application's loop.
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "tests/window/close_during_run_test.h"
#include "window/main_window.h"

namespace {

class ClosingWindow : public sumvelo::MainWindow {
 public:
  void ProcessPendingEvents() override {
    if (++eventCalls == 1) {
      QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    }
    MainWindow::ProcessPendingEvents();
  }
  int eventCalls = 0;
};

}  // namespace

void CloseDuringRunTest::closingDuringRunEndsTheProgram() {
  QFile f(QStringLiteral(SUMVELO_CORPUS_DIR "/zh/0008.txt"));
  QVERIFY(f.open(QIODevice::ReadOnly));
  const QString article = QString::fromUtf8(f.readAll());

  ClosingWindow w;
  w.findChild<QPlainTextEdit*>("内容框")->setPlainText(article.section(u'\n', 1));
  w.show();
  QVERIFY(QTest::qWaitForWindowExposed(&w));

  auto* summarize = w.findChild<QPushButton*>("摘要");
  bool handlerReturned = false;
  // Connected after the window's own handler, so it runs once that one has returned.
  QObject::connect(summarize, &QPushButton::clicked, &w, [&] { handlerReturned = true; });
  // The engine lets the window handle events at most every 30 ms; past that, the run's first
  // chance to do so is taken.
  QTest::qWait(40);
  QTimer::singleShot(0, summarize, &QPushButton::click);
  // A loop still running long after the close is a fault; end it with a code that says so.
  QTimer::singleShot(120000, [] { QCoreApplication::exit(3); });

  QCOMPARE(QApplication::exec(), 0);
  QVERIFY(handlerReturned);
  QVERIFY(!w.isVisible());
  QCOMPARE(w.eventCalls, 1);  // the run went no further than the dispatch that closed it
  // Nothing was written after the close: no summary, no length line.
  QVERIFY(w.findChild<QPlainTextEdit*>("编辑框1")->toPlainText().isEmpty());
  QVERIFY(!w.findChild<QLabel*>("标签2")->text().startsWith(QStringLiteral("原文")));
  QVERIFY(w.ReadControlText(sumvelo::Control::编辑框1).empty());
}

QTEST_MAIN(CloseDuringRunTest)
