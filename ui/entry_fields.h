// The shared behaviour of entry fields.
//
// Every field: Enter moves to the next field. Numeric fields (NumEdit) carry an input format code
// (the tag of the field: digits and decimals), accept only the characters their screen allows
// (anything else is dropped with a beep), empty on Ctrl+Delete, select their whole text 150 ms
// after being entered when AutoSelect is on, overwrite instead of inserting when InputOverN is on,
// keep the input method off, and on leaving normalise their text by the format code (a rejected
// text leaves the field empty after its message) and show it in their display format. Text fields
// (TextEdit) are cut to their maximum length in Shift-JIS bytes while typing, without splitting a
// character.
#pragma once

#include <QLineEdit>
#include <functional>
#include <optional>

#include "store/options.h"
#include "ui/dialog_service.h"

namespace paylark::ui {

struct FieldContext {
  DialogService& dialogs;
  const Options& options;  // AutoSelect and InputOverN
};

// The length of a field's text after `typed` is typed at the caret: over the selection, over the
// character at the caret when `overwrite` is on (InputOverN), else inserted. Screens with a typing
// limit refuse a key that goes beyond it.
qsizetype LengthAfterTyping(const QLineEdit& field, const QString& typed, bool overwrite);

// The typing of a numeric field: only the accepted characters (others beep), overwrite typing,
// Enter moves on, Ctrl+Delete empties, the text selected 150 ms after entering, input method off.
class TypedEdit : public QLineEdit {
  Q_OBJECT
 public:
  TypedEdit(const FieldContext& context, const QString& accepted, QWidget* parent = nullptr);

  void SetAcceptedCharacters(const QString& characters) { accepted_ = characters; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;

  FieldContext context_;

 private:
  QString accepted_;
};

class NumEdit : public TypedEdit {
  Q_OBJECT
 public:
  NumEdit(const FieldContext& context, int formatCode, QWidget* parent = nullptr);

  int FormatCode() const { return formatCode_; }
  // Shows a value after leaving (and for SetValue); default: the normalised text as it is.
  void SetDisplay(std::function<QString(double)> display) { display_ = std::move(display); }

  // The field's value; an empty field counts as 0.
  double Value() const;
  void SetValue(double value);
  // Normalises the text now as leaving the field does; false when it was rejected (the field is
  // then empty and the message was shown).
  bool Normalise();

 signals:
  // After the text was normalised on leaving the field.
  void Left();

 protected:
  void focusOutEvent(QFocusEvent* event) override;

 private:
  int formatCode_;
  std::function<QString(double)> display_;
};

class TextEdit : public QLineEdit {
  Q_OBJECT
 public:
  TextEdit(int maxSjisBytes, QWidget* parent = nullptr);
  int MaxSjisBytes() const { return maxBytes_; }
  // The text cut to the maximum length (as confirming a screen does before storing).
  QString CutText() const;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void CutWhileTyping();
  int maxBytes_;
};

// Enter in a check box, radio button or combo box of a form moves on, as in the fields.
void InstallEnterMovesOn(QWidget* form);

}  // namespace paylark::ui
