#pragma once
// Every message the windows show goes through this interface, so the program
// uses real message boxes while tests record them instead of blocking.

#include <QString>

class QWidget;

namespace tesmir {

class MessageSink {
 public:
  // The answers to a question whether to save changes first.
  enum class SaveAnswer { Save, Discard, Cancel };

  virtual ~MessageSink() = default;
  // A plain message box with OK.
  virtual void inform(QWidget* parent, const QString& text) = 0;
  // A warning box with OK and Cancel; true only for OK.
  virtual bool ask(QWidget* parent, const QString& text) = 0;
  // An error box with an input/output or system error text.
  virtual void error(QWidget* parent, const QString& text) = 0;
  // A warning box with "Сохранить", "Не сохранять" and "Отмена"; Esc or the
  // close box answers Cancel. A sink that cannot ask answers Cancel, which
  // keeps everything as it is.
  virtual SaveAnswer askSave(QWidget* parent, const QString& text);
};

// The real implementation: QMessageBox, application title as the caption.
class BoxMessageSink final : public MessageSink {
 public:
  void inform(QWidget* parent, const QString& text) override;
  bool ask(QWidget* parent, const QString& text) override;
  void error(QWidget* parent, const QString& text) override;
  SaveAnswer askSave(QWidget* parent, const QString& text) override;
};

}  // namespace tesmir
