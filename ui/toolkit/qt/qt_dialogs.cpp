#include "ui/toolkit/qt/qt_dialogs.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QString>
#include <QStringList>

namespace identstrip::ui::qt {
namespace {

QString FromPath(std::string_view path) {
  return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

QString FromText(std::string_view text) {
  return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

// "All Files (*)" from {"All Files", "*.*"}. Patterns are matched as the
// system chooser matches them: "*.*" takes every name, with or without a dot,
// and ";" separates several patterns.
QString NameFilter(const FileTypeEntry& type) {
  QStringList patterns = FromText(type.pattern).split(u';', Qt::SkipEmptyParts);
  for (QString& pattern : patterns) {
    pattern = pattern.trimmed();
    if (pattern == QStringLiteral("*.*")) pattern = QStringLiteral("*");
  }
  return FromText(type.description) + QStringLiteral(" (") + patterns.join(u' ') + u')';
}

// The folder the dialog opens in, and the name in its name box. A name whose
// folder exists opens that folder, as the system chooser does; an initial
// folder that does not exist gives way to the current directory.
void PlaceAt(QFileDialog& dialog, const OpenFileRequest& request) {
  const QString folder_path = FromPath(request.initial_folder);
  const QDir folder =
      !folder_path.isEmpty() && QDir(folder_path).exists() ? QDir(folder_path) : QDir::current();
  dialog.setDirectory(folder.absolutePath());
  if (request.initial_name.empty()) return;

  const QFileInfo name(folder, FromPath(request.initial_name));
  if (name.absoluteDir().exists()) {
    dialog.selectFile(name.absoluteFilePath());
  } else {
    dialog.selectFile(name.fileName());
  }
}

}  // namespace

std::optional<std::string> RunOpenFileDialog(QWidget* owner, const OpenFileRequest& request) {
  QFileDialog dialog(owner, FromText(request.title));
  // Qt's own dialog, the same on every desktop and under a virtual display.
  // Its model may rename, delete and make folders, as the system chooser may.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  // The type list shows the descriptions alone, as the system chooser does.
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  // One file, which must exist: any other name is refused with a message and
  // the dialog stays open.
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setDefaultSuffix(QString());
  dialog.setWindowModality(Qt::WindowModal);

  QStringList filters;
  for (const FileTypeEntry& type : request.types) filters << NameFilter(type);
  if (!filters.isEmpty()) {
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.front());
  }
  PlaceAt(dialog, request);

  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.size() != 1) return std::nullopt;
  const QByteArray path = QFile::encodeName(QDir::toNativeSeparators(chosen.front()));
  return std::string(path.constData(), static_cast<std::size_t>(path.size()));
}

void RunStopMessageBox(QWidget* owner, std::string_view text, std::string_view caption) {
  QMessageBox box(QMessageBox::Critical, FromText(caption),
                  FromText(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")),
                  QMessageBox::Ok, owner);
  // Paths in the text are shown as they are, never read as markup.
  box.setTextFormat(Qt::PlainText);
  box.setDefaultButton(QMessageBox::Ok);
  box.setEscapeButton(QMessageBox::Ok);
  box.setWindowModality(Qt::WindowModal);
  box.exec();
}

}  // namespace identstrip::ui::qt
