#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <string>

#include "session/preferences_text.h"

class QSettings;

namespace portprobe {

// The window's remembered settings: a thin layer over QSettings and its INI file.
// Without a file it remembers nothing and every value reads as missing.
class SettingsStore {
 public:
  // `knownKeys`: every key the window writes. A file that holds any other is none
  // that the window wrote (random bytes read as INI give keys of garbage) and is
  // taken as corrupt, so that nothing unknown is ever written back.
  SettingsStore(const std::string& path, const QStringList& knownKeys);
  ~SettingsStore();

  bool Remembers() const { return settings_ != nullptr; }
  // The file could not be read or parsed, or holds keys the window does not know. Its
  // values are then not used: it is moved aside to "<file>.bad" and the next save
  // starts a new one.
  bool Unreadable() const { return unreadable_; }
  const QString& Path() const { return path_; }
  // Where a corrupt file was moved; empty when none was.
  const QString& MovedTo() const { return movedTo_; }

  QVariant Value(const QString& key) const;
  // Takes a value; it reaches the file at the next Sync.
  void SetValue(const QString& key, const QVariant& value);
  // Writes what was set. The first write that fails gives why, once a run; later
  // failures and successes give nothing.
  QString Sync();

  // For the Qt-free readers of remembered texts.
  SettingLookup TextLookup() const;

 private:
  QString path_;
  std::unique_ptr<QSettings> settings_;
  bool unreadable_ = false;
  bool failureTold_ = false;
  QString movedTo_;
};

}  // namespace portprobe
