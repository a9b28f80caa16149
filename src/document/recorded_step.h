#pragma once
// A step of a document's undo stack that keeps the document's state before
// and after the change. The change is already made when the step is pushed,
// so its first redo does nothing; later ones and undo restore a state.

#include <QString>
#include <QUndoCommand>
#include <utility>

namespace tesmir {

template <class Document, class State>
class RecordedStep : public QUndoCommand {
 public:
  RecordedStep(Document& document, State before, State after, const QString& name = {})
      : QUndoCommand(name), document_(document), before_(std::move(before)), after_(std::move(after)) {}

  void redo() override {
    if (first_) {
      first_ = false;
      return;
    }
    document_.restore(after_);
  }
  void undo() override { document_.restore(before_); }

 protected:
  Document& document_;
  State before_;
  State after_;

 private:
  bool first_ = true;
};

}  // namespace tesmir
