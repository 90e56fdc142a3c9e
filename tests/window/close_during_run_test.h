// The test class of close_during_run_test.cpp, kept apart so that moc never reads the engine's
// headers (their Chinese identifiers are beyond moc's parser).
#pragma once

#include <QObject>

class CloseDuringRunTest : public QObject {
  Q_OBJECT

 private slots:
  void closingDuringRunEndsTheProgram();
};
