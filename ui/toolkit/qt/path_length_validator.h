#pragma once

#include <QValidator>

namespace identstrip::ui::qt {

// Refuses, whole, any edit that would make the text longer than `capacity`
// bytes in the 8-bit form its bound variable holds. A refused keystroke or
// paste leaves the text as it was and makes the entry emit inputRejected().
class PathLengthValidator final : public QValidator {
  Q_OBJECT

 public:
  PathLengthValidator(qsizetype capacity, QObject* parent);

  State validate(QString& input, int& position) const override;

 private:
  qsizetype capacity_;
};

}  // namespace identstrip::ui::qt
