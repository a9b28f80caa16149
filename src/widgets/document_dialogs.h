#pragma once
// The dialogs that documents need besides the file dialogs: the point name
// of a calculation note and the printer. Behind an interface, so tests script
// the answers and no test waits on a modal dialog.

#include <QString>
#include <optional>

class QPrinter;
class QWidget;

namespace tesmir {

class DocumentDialogs {
 public:
  virtual ~DocumentDialogs() = default;
  // The point name typed for a note, or nullopt when the user cancels.
  // `previous` is the text to show at first.
  virtual std::optional<QString> askPointName(QWidget* parent, const QString& previous) = 0;
  // Lets the user pick and set up a printer; false when cancelled.
  virtual bool choosePrinter(QWidget* parent, QPrinter& printer) = 0;
};

class MessageSink;

// The real dialogs: the report's point-name dialog, with the note's rule for
// names (a rejected name is explained through `messages` and the dialog stays
// open), and QPrintDialog.
class RealDocumentDialogs final : public DocumentDialogs {
 public:
  explicit RealDocumentDialogs(MessageSink& messages) : messages_(messages) {}
  std::optional<QString> askPointName(QWidget* parent, const QString& previous) override;
  bool choosePrinter(QWidget* parent, QPrinter& printer) override;

 private:
  MessageSink& messages_;
};

}  // namespace tesmir
