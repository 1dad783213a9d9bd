#pragma once

class QObject;
class QTranslator;

namespace portprobe {

// Makes Qt's own texts (file dialogs, standard buttons, edit menus) Chinese, like the
// rest of the window, from the translations that Qt installs (Debian:
// qt6-translations-l10n). The translator belongs to `owner`; nullptr when Qt's Chinese
// translations are not installed, and then those texts stay English.
QTranslator* InstallQtTranslations(QObject* owner);

}  // namespace portprobe
