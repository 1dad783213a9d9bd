#include "app/settings_store.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <algorithm>

namespace portprobe {

namespace {

// More than the window ever writes: a full history (10000 entries of 1023 bytes) and a
// full send box (4 MiB), escaped, stay below it. A larger file is none of ours, and
// QSettings would hold all of it in memory and rewrite it at every change.
constexpr qint64 kMaxSettingsFileBytes = qint64{64} << 20;

bool OnlyKnownKeys(const QSettings& settings, const QStringList& knownKeys) {
  const QStringList keys = settings.allKeys();
  return std::all_of(keys.begin(), keys.end(), [&knownKeys](const QString& key) { return knownKeys.contains(key); });
}

}  // namespace

SettingsStore::SettingsStore(const std::string& path, const QStringList& knownKeys)
    : path_(QString::fromStdString(path)) {
  if (path_.isEmpty()) return;
  const QFileInfo file(path_);
  const bool cannotRead = file.exists() && (!file.isFile() || !file.isReadable());
  // A file too large to be ours is not even parsed.
  const bool tooLarge = !cannotRead && file.size() > kMaxSettingsFileBytes;
  if (!cannotRead && !tooLarge) {
    settings_ = std::make_unique<QSettings>(path_, QSettings::IniFormat);
    if (settings_->status() == QSettings::NoError && OnlyKnownKeys(*settings_, knownKeys)) return;
    settings_.reset();
  }
  // Kept for a look by hand; the settings start again from the defaults. A file that
  // can be neither read nor moved aside is left alone: nothing is remembered this run.
  unreadable_ = true;
  const QString aside = path_ + QStringLiteral(".bad");
  if (!cannotRead) {
    QFile::remove(aside);
    if (QFile::rename(path_, aside)) movedTo_ = aside;
  }
  if (!movedTo_.isEmpty()) settings_ = std::make_unique<QSettings>(path_, QSettings::IniFormat);
}

SettingsStore::~SettingsStore() { Sync(); }  // a failure at the end has nobody to tell

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

QString SettingsStore::Sync() {
  if (!settings_) return {};
  settings_->sync();
  if (settings_->status() == QSettings::NoError || failureTold_) return {};
  failureTold_ = true;
  // QSettings keeps no reason; opening the file for writing gives the system's.
  QFile file(path_);
  return file.open(QIODevice::Append) ? QString() : file.errorString();
}

SettingLookup SettingsStore::TextLookup() const {
  return [this](const std::string& key) -> std::optional<std::string> {
    const QVariant value = Value(QString::fromStdString(key));
    if (!value.isValid()) return std::nullopt;
    return value.toString().toStdString();
  };
}

}  // namespace portprobe
