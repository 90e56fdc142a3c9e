// sumvelo-gui: opens the main window on the default article.
//
// Two options, left out of --help, drive the window without a mouse (scripts/screenshot.sh):
//   --demo=default|two|three  clicks the sample button (none for default), then 开始摘要
//   --screenshot=FILE         after the demo, saves the window as FILE and quits
#include <QApplication>
#include <QCommandLineParser>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>

#include <cstdio>

#include "window/main_window.h"

namespace {

void Click(sumvelo::MainWindow& window, const char* name) {
  if (auto* button = window.findChild<QPushButton*>(QString::fromUtf8(name))) button->click();
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("sumvelo-gui"));

  QCommandLineParser parser;
  parser.addHelpOption();
  QCommandLineOption demo(QStringLiteral("demo"), QStringLiteral("Sample to summarize at start."),
                          QStringLiteral("default|two|three"));
  QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                QStringLiteral("Save the window after the demo and quit."),
                                QStringLiteral("file"));
  demo.setFlags(QCommandLineOption::HiddenFromHelp);
  screenshot.setFlags(QCommandLineOption::HiddenFromHelp);
  parser.addOption(demo);
  parser.addOption(screenshot);
  parser.process(app);

  const QString sample = parser.value(demo);
  if (parser.isSet(demo) && sample != "default" && sample != "two" && sample != "three") {
    std::fprintf(stderr, "sumvelo-gui: --demo takes default, two or three\n");
    return 2;
  }

  sumvelo::MainWindow window;
  window.show();

  int result = 0;
  if (parser.isSet(demo) || parser.isSet(screenshot)) {
    // Runs once the window is on screen, so the clicks and the picture see it as a user would.
    QTimer::singleShot(100, &window, [&] {
      if (sample == "two") Click(window, "按钮2");
      if (sample == "three") Click(window, "按钮3");
      if (parser.isSet(demo)) Click(window, "摘要");
      if (!parser.isSet(screenshot)) return;
      QApplication::processEvents();
      const QString file = parser.value(screenshot);
      if (!window.grab().save(file)) {
        std::fprintf(stderr, "sumvelo-gui: cannot save %s\n", file.toLocal8Bit().constData());
        result = 1;
      }
      window.close();
    });
  }
  const int loop = app.exec();
  return result != 0 ? result : loop;
}
