// MainWindow: Sumvelo's one top-level window. It builds the controls, runs the four commands
// behind the buttons, and is the engine's Controls: text crosses into the engine as GB18030 with
// CR LF line breaks and comes back the same way.
#pragma once

#include <array>

#include <QString>
#include <QWidget>

#include "pipeline/controls.h"
#include "pipeline/workspace.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace sumvelo {

class MainWindow : public QWidget, public Controls {
 public:
  // The outer size of the window, frame included where the platform draws one.
  static constexpr int kOuterWidth = 722;
  static constexpr int kOuterHeight = 549;

  // MainWindow creates every control at its place with its start-up text: the default article
  // in 标题框 and 内容框, 标签3 disabled showing "关键词：  ", everything else empty, item 0 of
  // 组合框1 selected. The window is not shown.
  explicit MainWindow(QWidget* parent = nullptr);
  ~MainWindow() override;

  // The commands, one per button.
  // Summarize runs the engine over the controls (a press during a run is ignored). When the
  // window is closed during the run, the run ends at once and the handler returns normally.
  void Summarize();
  // LoadSampleTwo writes 标题框, then empties 编辑框1, then writes 内容框.
  void LoadSampleTwo();
  // LoadSampleThree writes 标题框, then 内容框, then empties 编辑框1.
  void LoadSampleThree();
  // ClearFields empties 内容框, 编辑框1, 标题框, 标签1, 标签2 and 标签3, in that order.
  void ClearFields();

  // LoadBodyFile replaces the body box's text with the file's: UTF-8 (a leading byte-order mark
  // dropped) when the bytes are valid UTF-8, otherwise GBK/GB18030 when they are valid as that.
  // A file that cannot be read, holds a zero byte, or is neither leaves the box as it was and
  // shows a warning naming the file. It returns whether the box was replaced.
  bool LoadBodyFile(const QString& path);

  // Controls. ReadControlText gives exactly the bytes last written to a control as long as its
  // text has not been changed since; otherwise it converts the shown text (title: up to its
  // first line break; other controls: every line break as CR LF).
  ByteText ReadControlText(Control c) override;
  void WriteControlText(Control c, const ByteText& text) override;
  int ReadSelectedIndex() override;
  // ProcessPendingEvents dispatches what waits in the queue (repaints, clicks, typing), so any
  // command can run inside it. It throws RunAbandoned once the window has been closed.
  void ProcessPendingEvents() override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QString ShownText(Control c) const;
  void SetShownText(Control c, const QString& text);
  void FitFrameAndCentre();

  QPushButton* 按钮3_;
  QPushButton* 按钮2_;
  QLabel* 标签2_;
  QPushButton* 摘要_;
  QComboBox* 组合框1_;
  QLabel* 标签4_;
  QLabel* 标签3_;
  QPushButton* 按钮1_;
  QLabel* 标签1_;
  QLineEdit* 标题框_;
  QPlainTextEdit* 编辑框1_;
  QPlainTextEdit* 内容框_;

  // What each control was last given by WriteControlText, and the text that produced on screen.
  struct Written {
    bool valid = false;
    QString shown;
    ByteText bytes;
  };
  std::array<Written, kControlCount> written_;

  Workspace workspace_{*this};  // the work tables persist from run to run
  bool closed_ = false;
  bool frameFitted_ = false;
};

}  // namespace sumvelo
