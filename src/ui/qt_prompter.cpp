#include "ui/qt_prompter.h"

#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QStringList>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include "resources/strings.h"

namespace portprobe::ui {

namespace {

const QString kCaption = QStringLiteral("PortProbe");

QString RunFileDialog(QWidget* parent, const FileDialogRequest& request, QFileDialog::AcceptMode mode) {
  QFileDialog dialog(parent, kCaption, QString(), QtFileFilter(request.filter));
  dialog.setAcceptMode(mode);
  dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  // Only a name being saved gets the extension: one typed to open is taken as it is,
  // extension or not.
  if (mode == QFileDialog::AcceptSave) dialog.setDefaultSuffix(request.defaultExtension);
  if (!request.defaultFileName.isEmpty()) dialog.selectFile(request.defaultFileName);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().constFirst();
}

}  // namespace

QString QtFileFilter(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList filters;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    const QString description = parts[i].trimmed();
    QString pattern = parts[i + 1].trimmed();
    if (description.isEmpty() || pattern.isEmpty()) continue;
    pattern.replace(QStringLiteral("*.*"), QStringLiteral("*"));
    pattern.replace(QLatin1Char(';'), QLatin1Char(' '));
    filters << QStringLiteral("%1 (%2)").arg(description, pattern);
  }
  return filters.join(QStringLiteral(";;"));
}

void QtPrompter::ShowMessage(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, kCaption, text, QMessageBox::Ok, parent);
  box.exec();
}

// 取消 is the default, so that a stray Enter keeps what the question is about.
bool QtPrompter::Confirm(QWidget* parent, const QString& question) {
  QMessageBox box(QMessageBox::Question, kCaption, question, QMessageBox::Ok | QMessageBox::Cancel, parent);
  box.setDefaultButton(QMessageBox::Cancel);
  return box.exec() == QMessageBox::Ok;
}

QString QtPrompter::GetOpenFileName(QWidget* parent, const FileDialogRequest& request) {
  return RunFileDialog(parent, request, QFileDialog::AcceptOpen);
}

QString QtPrompter::GetSaveFileName(QWidget* parent, const FileDialogRequest& request) {
  return RunFileDialog(parent, request, QFileDialog::AcceptSave);
}

bool QtPrompter::OfferStop(QWidget* parent, const std::function<QString()>& text,
                           const std::function<bool()>& finished) {
  QDialog dialog(parent);
  dialog.setWindowTitle(kCaption);
  auto* layout = new QVBoxLayout(&dialog);
  auto* label = new QLabel(text(), &dialog);
  layout->addWidget(label);
  auto* stop = new QPushButton(QString::fromUtf8(resources::kStopButtonText), &dialog);
  layout->addWidget(stop);
  QObject::connect(stop, &QPushButton::clicked, &dialog, &QDialog::accept);
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, &dialog, [&] {
    if (finished()) dialog.reject();
    label->setText(text());
  });
  poll.start(20);
  return dialog.exec() == QDialog::Accepted;
}

int QtPrompter::ExecDialog(QDialog& dialog) { return dialog.exec(); }

QAction* QtPrompter::ExecMenu(QMenu& menu, const QPoint& screenPoint) { return menu.exec(screenPoint); }

bool QtPrompter::OpenDocument(const QString& path) { return QDesktopServices::openUrl(QUrl::fromLocalFile(path)); }

bool QtPrompter::StartDetached(const QString& program) { return QProcess::startDetached(program, {}); }

}  // namespace portprobe::ui
