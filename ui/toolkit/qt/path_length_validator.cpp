#include "ui/toolkit/qt/path_length_validator.h"

namespace identstrip::ui::qt {

PathLengthValidator::PathLengthValidator(qsizetype capacity, QObject* parent)
    : QValidator(parent), capacity_(capacity) {}

QValidator::State PathLengthValidator::validate(QString& input, int&) const {
  return input.toLocal8Bit().size() <= capacity_ ? Acceptable : Invalid;
}

}  // namespace identstrip::ui::qt
