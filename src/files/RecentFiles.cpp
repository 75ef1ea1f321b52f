#include "files/RecentFiles.h"

#include "base/SettingsStore.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString kSection = QStringLiteral("RecentFiles");

QString keyOf(int index) { return QStringLiteral("File%1").arg(index + 1); }

// The same file reached by two spellings ("a/../b.hex", "b.hex") has one entry.
QString normalized(const QString& path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

}  // namespace

RecentFiles::RecentFiles(SettingsStore& settings) : m_settings(settings)
{
    for (int i = 0; i < kMaximum; ++i) {
        const QString path = m_settings.get(kSection, keyOf(i), QString());
        if (!path.isEmpty() && !m_paths.contains(path)) m_paths.append(path);
    }
}

void RecentFiles::add(const QString& path)
{
    const QString entry = normalized(path);
    if (!m_paths.isEmpty() && m_paths.first() == entry) return;
    m_paths.removeAll(entry);
    m_paths.prepend(entry);
    while (m_paths.size() > kMaximum) m_paths.removeLast();
    store();
}

void RecentFiles::remove(const QString& path)
{
    if (m_paths.removeAll(normalized(path)) > 0) store();
}

void RecentFiles::store()
{
    QList<std::pair<QString, QString>> values;
    for (int i = 0; i < kMaximum; ++i) {
        values.append({keyOf(i), i < m_paths.size() ? m_paths.at(i) : QString()});
    }
    m_settings.save(kSection, values);
}
