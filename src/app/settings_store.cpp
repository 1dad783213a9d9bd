#include "app/settings_store.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <algorithm>

namespace portprobe {

namespace {

bool OnlyKnownKeys(const QSettings& settings, const QStringList& knownKeys) {
  const QStringList keys = settings.allKeys();
  return std::all_of(keys.begin(), keys.end(), [&knownKeys](const QString& key) { return knownKeys.contains(key); });
}

}  // namespace

SettingsStore::SettingsStore(const std::string& path, const QStringList& knownKeys)
    : path_(QString::fromStdString(path)) {
  if (path_.isEmpty()) return;
  const QFileInfo file(path_);
  unreadable_ = file.exists() && (!file.isFile() || !file.isReadable());
  settings_ = std::make_unique<QSettings>(path_, QSettings::IniFormat);
  if (!unreadable_ && settings_->status() == QSettings::NoError && OnlyKnownKeys(*settings_, knownKeys)) return;
  // Kept for a look by hand; the settings start again from the defaults. A file that
  // can be neither read nor moved aside is left alone: nothing is remembered this run.
  settings_.reset();
  const QString aside = path_ + QStringLiteral(".bad");
  if (!unreadable_) {
    QFile::remove(aside);
    if (QFile::rename(path_, aside)) movedTo_ = aside;
  }
  unreadable_ = true;
  if (!movedTo_.isEmpty()) settings_ = std::make_unique<QSettings>(path_, QSettings::IniFormat);
}

SettingsStore::~SettingsStore() { Sync(); }

QVariant SettingsStore::Value(const QString& key) const {
  // A file that could not be moved aside is not read either.
  if (!settings_ || settings_->status() != QSettings::NoError) return {};
  return settings_->value(key);
}

// An unchanged value is not set again, so that a save rewrites the file only when
// something did change.
void SettingsStore::SetValue(const QString& key, const QVariant& value) {
  if (settings_ && settings_->value(key) != value) settings_->setValue(key, value);
}

void SettingsStore::Sync() {
  if (settings_) settings_->sync();
}

SettingLookup SettingsStore::TextLookup() const {
  return [this](const std::string& key) -> std::optional<std::string> {
    const QVariant value = Value(QString::fromStdString(key));
    if (!value.isValid()) return std::nullopt;
    return value.toString().toStdString();
  };
}

}  // namespace portprobe
