// The window's test class, apart from the tests themselves: the engine's headers use Chinese
// identifiers, which moc does not parse, so moc sees only this file.
#pragma once

#include <QObject>

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void startUpControls_data();
  void startUpControls();
  void startUpWindow();
  void startUpFonts();
  void commandsWriteInOrder_data();
  void commandsWriteInOrder();
  void summarizeMatchesHeadless_data();
  void summarizeMatchesHeadless();
  void samplesKeepLabelsOfLastRun();
  void clearThenSummarizeLeavesAllEmpty();
  void lengthChoiceReachesEngine();
  void commandQueuedDuringRun_data();
  void commandQueuedDuringRun();
  void secondSummarizeDuringRunIsIgnored();
  void progressShownDuringRun_data();
  void progressShownDuringRun();
  void textCrossesAsGb18030WithCrLf();
  void droppedFileLoadsBody_data();
  void droppedFileLoadsBody();
  void focusFollowsLayout();
  void summaryCanBeSelectedAndCopied();
};
