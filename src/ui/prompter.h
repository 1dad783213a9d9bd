#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace portprobe::ui {

// What an open- or save-file dialog is shown with. The filter uses the
// "description|pattern|description|pattern|" form of the terminal's own texts.
struct FileDialogRequest {
  QString filter;
  QString defaultExtension;
  QString defaultFileName;
};

// Every message box and file dialog of the terminal goes through this interface,
// so that tests can answer them without a modal loop.
class Prompter {
 public:
  virtual ~Prompter() = default;

  // A modal message box with a single OK button and exactly this text.
  virtual void ShowMessage(QWidget* parent, const QString& text) = 0;

  // The chosen file's full path, or an empty text when the user cancelled.
  virtual QString GetOpenFileName(QWidget* parent, const FileDialogRequest& request) = 0;
  virtual QString GetSaveFileName(QWidget* parent, const FileDialogRequest& request) = 0;

  // A small modal dialog saying that a job is still running, with a button to stop it.
  // Its text is read anew while it shows, so it can tell the job's progress. It closes
  // by itself once finished() is true. Returns true when the user chose to stop.
  virtual bool OfferStop(QWidget* parent, const std::function<QString()>& text,
                         const std::function<bool()>& finished) = 0;
};

// Qt filter text ("description (patterns);;...") from the "description|pattern|..." form.
// "*.*" becomes "*", since Linux file names need not have an extension.
QString QtFileFilter(const QString& filter);

}  // namespace portprobe::ui
