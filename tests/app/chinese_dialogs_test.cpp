// Qt's own dialogs and buttons read in Chinese, like the rest of the window.
#include <QApplication>
#include <QCoreApplication>
#include <QFileDialog>
#include <QTimer>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTranslator>
#include <gtest/gtest.h>

#include "app/file_filters.h"
#include "app/qt_translations.h"
#include "support/wait.h"  // prints texts in failure messages
#include "ui/prompter.h"
#include "ui/qt_prompter.h"
#include "support/temp_dir.h"

namespace portprobe {
namespace {

TEST(ChineseDialogs, QtsOwnTextsAreChinese) {
  QTranslator* translator = InstallQtTranslations(QCoreApplication::instance());
  ASSERT_NE(translator, nullptr) << "Qt's Chinese translations (qt6-translations-l10n) are not installed";
  QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Open);
  EXPECT_EQ(buttons.button(QDialogButtonBox::Ok)->text(), QStringLiteral("确定"));
  EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("取消"));
  EXPECT_EQ(buttons.button(QDialogButtonBox::Open)->text(), QStringLiteral("打开"));
  EXPECT_EQ(QCoreApplication::translate("QFileDialog", "File &name:"), QStringLiteral("文件名称(&N)："));
  QCoreApplication::removeTranslator(translator);
  delete translator;
}

TEST(ChineseDialogs, FileFiltersReadInChineseAndTheSendFileShowsAllFiles) {
  EXPECT_EQ(ui::QtFileFilter(kSendFileFilter), QStringLiteral("所有文件 (*);;文本文件 (*.txt)"));
  EXPECT_EQ(ui::QtFileFilter(kCaptureFileFilter), QStringLiteral("文本文件 (*.txt)"));
  EXPECT_EQ(ui::QtFileFilter(kTextOrAnyFileFilter), QStringLiteral("文本文件 (*.txt);;所有文件 (*)"));
}

// The file dialog as the user meets it: a file named without an extension opens as it
// is, and a name typed to save gets the extension.
TEST(ChineseDialogs, AnOpenedFileIsTakenAsNamedAndASavedOneGetsItsExtension) {
  const testing::TempDir folder;
  const std::string bare = folder.WriteFile("history", "AT\r\n");
  ui::QtPrompter prompter;
  const auto answer = [](const QString& path) {
    QTimer::singleShot(0, [path] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr) return;
      dialog->selectFile(path);
      QMetaObject::invokeMethod(dialog, "accept", Qt::DirectConnection);
      if (dialog->isVisible()) dialog->reject();  // refused: no such file
    });
  };
  const ui::FileDialogRequest request{kTextOrAnyFileFilter, QStringLiteral("txt"), QStringLiteral("history.txt")};
  answer(QString::fromStdString(bare));
  EXPECT_EQ(prompter.GetOpenFileName(nullptr, request), QString::fromStdString(bare));
  answer(QString::fromStdString(folder.File("saved")));
  EXPECT_EQ(prompter.GetSaveFileName(nullptr, request), QString::fromStdString(folder.File("saved.txt")));
}

}  // namespace
}  // namespace portprobe
