#pragma once

#include <QPoint>
#include <QString>
#include <functional>

class QAction;
class QDialog;
class QMenu;
class QWidget;

namespace portprobe::ui {

// What an open- or save-file dialog is shown with. The filter uses the
// "description|pattern|description|pattern|" form of the terminal's own texts.
struct FileDialogRequest {
  QString filter;
  QString defaultExtension;
  QString defaultFileName;
};

// Everything the terminal asks of the user outside its window (message boxes, file
// dialogs, popup menus) or of the desktop (opening a document, starting a program)
// goes through this interface, so that tests can answer without a modal loop.
class Prompter {
 public:
  virtual ~Prompter() = default;

  // A modal message box with a single OK button and exactly this text.
  virtual void ShowMessage(QWidget* parent, const QString& text) = 0;
  // A modal message box asking `question` with 确定 and 取消; true for 确定.
  virtual bool Confirm(QWidget* parent, const QString& question) = 0;

  // The chosen file's full path, or an empty text when the user cancelled.
  virtual QString GetOpenFileName(QWidget* parent, const FileDialogRequest& request) = 0;
  virtual QString GetSaveFileName(QWidget* parent, const FileDialogRequest& request) = 0;

  // A small modal dialog saying that a job is still running, with a button to stop it.
  // Its text is read anew while it shows, so it can tell the job's progress. It closes
  // by itself once finished() is true. Returns true when the user chose to stop.
  virtual bool OfferStop(QWidget* parent, const std::function<QString()>& text,
                         const std::function<bool()>& finished) = 0;

  // Runs a dialog of the terminal's own modally; its result (QDialog::Accepted or
  // QDialog::Rejected).
  virtual int ExecDialog(QDialog& dialog) = 0;

  // Shows a popup menu at a screen point; the chosen action, or nullptr.
  virtual QAction* ExecMenu(QMenu& menu, const QPoint& screenPoint) = 0;

  // Opens a document with the desktop's viewer for it; false when no viewer could be
  // started.
  virtual bool OpenDocument(const QString& path) = 0;
  // Starts a program on its own, not waiting for it; false when it could not start.
  virtual bool StartDetached(const QString& program) = 0;
};

// Qt filter text ("description (patterns);;...") from the "description|pattern|..." form.
// "*.*" becomes "*", since Linux file names need not have an extension.
QString QtFileFilter(const QString& filter);

}  // namespace portprobe::ui
